// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/language/shown_text.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <optional>
#include <vector>

#include "core/app/filled_patterns.h"

namespace songloader::gui {

namespace {

constexpr const char* kContext = "Core";

struct Pattern {
    const char* source;
    QRegularExpression match;
    bool followsName;  // the text follows a name the caller put before it
    bool fillsTexts;   // filled with texts of the core, shown translated too
};

const std::vector<Pattern>& Patterns() {
    static const std::vector<Pattern> patterns = [] {
        std::vector<Pattern> built;
        for (const FilledPattern& filled : kFilledPatterns) {
            const char* source = filled.text;
            const QString text = QString::fromUtf8(source);
            const bool followsName = text.startsWith(' ') || text.startsWith(',');
            QStringList parts;
            for (const QString& part : text.split(QStringLiteral("%s"))) parts << QRegularExpression::escape(part);
            const QString expression = QStringLiteral("^") + (followsName ? QStringLiteral("(.+?)") : QString()) +
                                       parts.join(QStringLiteral("(.+?)")) + QStringLiteral("$");
            built.push_back({source, QRegularExpression(expression, QRegularExpression::DotMatchesEverythingOption),
                             followsName, filled.fillsTexts});
        }
        return built;
    }();
    return patterns;
}

QString Line(const QString& line);

// The translation of a whole text, or nothing when the text is no text of the core.
std::optional<QString> Known(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    const QByteArray source = text.toUtf8();
    const QString translated = QCoreApplication::translate(kContext, source.constData());
    if (translated != text) return translated;
    for (const Pattern& pattern : Patterns()) {
        const QRegularExpressionMatch match = pattern.match.match(text);
        if (!match.hasMatch()) continue;
        QStringList arguments = match.capturedTexts().mid(1);
        if (pattern.fillsTexts) {
            for (QString& argument : arguments) argument = Line(argument);
        }
        const QString shown = QCoreApplication::translate(kContext, pattern.source);
        // What goes before a text that follows another is a name, or a text of the core itself.
        if (pattern.followsName) return Line(arguments.value(0)) + Filled(shown, arguments.mid(1));
        return Filled(shown, arguments);
    }
    return std::nullopt;
}

// A line of one or more sentences: known whole, or a known first sentence and the rest.
QString Line(const QString& line) {
    if (const auto known = Known(line)) return *known;
    static const QRegularExpression sentenceEnd(QStringLiteral("[.?!] "));
    for (QRegularExpressionMatchIterator ends = sentenceEnd.globalMatch(line); ends.hasNext();) {
        const int at = ends.next().capturedStart() + 1;
        if (const auto head = Known(line.left(at))) return *head + ' ' + Line(line.mid(at + 1));
    }
    return line;
}

}  // namespace

QString CoreText(const char* english) { return QCoreApplication::translate(kContext, english); }

QString ShownText(std::string_view english) {
    const QString text = QString::fromUtf8(english.data(), static_cast<qsizetype>(english.size()));
    if (const auto known = Known(text)) return *known;
    QStringList lines = text.split('\n');
    for (QString& line : lines) line = Line(line);
    return lines.join('\n');
}

QString Filled(const QString& translation, const QStringList& arguments) {
    QString shown;
    qsizetype next = 0;  // the argument a "%s" takes
    for (qsizetype i = 0; i < translation.size(); ++i) {
        const QChar c = translation[i];
        if (c == '%' && i + 1 < translation.size()) {
            const QChar after = translation[i + 1];
            if (after.isDigit() && after != '0' && after.digitValue() <= arguments.size()) {
                shown += arguments[after.digitValue() - 1];
                ++i;
                continue;
            }
            if (after == 's' && next < arguments.size()) {
                shown += arguments[next++];
                ++i;
                continue;
            }
        }
        shown += c;
    }
    return shown;
}

}  // namespace songloader::gui
