// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls/gradient_progress_bar.h"

#include <QAccessible>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "gui/controls/accessibility.h"

namespace songloader::gui {

GradientProgressBar::GradientProgressBar(QWidget* parent)
    : QWidget(parent), backgroundColour_(palette().color(QPalette::Button)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    InstallAccessibility();
}

void GradientProgressBar::setRange(int lower, int upper) {
    lower_ = std::clamp(lower, 0, 65535);
    upper_ = std::clamp(upper, 0, 65535);
    position_ = lower_;
    update();
}

void GradientProgressBar::setPosition(int position) {
    if (position_ == position) return;
    position_ = position;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, position_);
        QAccessible::updateAccessibility(&event);
    }
}

void GradientProgressBar::setBackgroundColour(const QColor& colour) {
    backgroundColour_ = colour;
    update();
}

void GradientProgressBar::setTextColour(const QColor& colour) {
    textColour_ = colour;
    update();
}

void GradientProgressBar::setShowPercent(bool show) {
    showPercent_ = show;
    update();
}

QString GradientProgressBar::valueText() const {
    if (upper_ <= lower_) return QStringLiteral("0%");
    const int clamped = std::clamp(position_, lower_, upper_);
    return QStringLiteral("%1%").arg((clamped - lower_) * 100 / (upper_ - lower_));
}

bool GradientProgressBar::showsGradient() const { return position_ > lower_ && position_ <= upper_; }

QString GradientProgressBar::percentText() const {
    if (!showPercent_ || !showsGradient()) return {};
    const float percent = static_cast<float>(position_ - lower_) * 100.0f / static_cast<float>(upper_ - lower_);
    char text[32];
    std::snprintf(text, sizeof text, "%3.0f %%", static_cast<double>(percent));
    return QString::fromLatin1(text);
}

void GradientProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    // Columns a rounded band count leaves uncovered show the background too.
    painter.fillRect(area, backgroundColour_);
    if (!showsGradient()) return;

    const int fill = static_cast<int>(static_cast<double>(position_) / upper_ * area.width());
    const int dr = endColour_.red() - startColour_.red();
    const int dg = endColour_.green() - startColour_.green();
    const int db = endColour_.blue() - startColour_.blue();
    const int steps = std::max({std::abs(dr), std::abs(dg), std::abs(db), 1});
    const float band = static_cast<float>(area.width()) / steps;
    const float stepR = static_cast<float>(dr) / steps;
    const float stepG = static_cast<float>(dg) / steps;
    const float stepB = static_cast<float>(db) / steps;
    for (int i = 0; i < steps; ++i) {
        const int left = static_cast<int>(i * band);
        const int right = static_cast<int>((i + 1) * band);
        const QColor colour(static_cast<int>(i * stepR + startColour_.red()) & 0xFF,
                            static_cast<int>(i * stepG + startColour_.green()) & 0xFF,
                            static_cast<int>(i * stepB + startColour_.blue()) & 0xFF);
        painter.fillRect(QRect(left, 0, right - left, area.height()), colour);
        if (right > fill) break;  // the rest keeps the background
    }

    const QString text = percentText();
    if (text.isEmpty()) return;
    painter.setPen(textColour_);
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text);
}

}  // namespace songloader::gui
