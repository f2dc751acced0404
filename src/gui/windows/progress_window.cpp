// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/progress_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <memory>
#include <thread>

#include "core/app/dialog_texts.h"
#include "core/config/user_settings.h"
#include "core/device/device_room.h"
#include "gui/controls/accessibility.h"
#include "gui/language/shown_text.h"
#include "gui/window_state.h"

namespace songloader::gui {

namespace {

constexpr int kEdge = 2;  // the width of a sunken edge
constexpr int kPollMs = 30;
// The button's gap leaves a blank either side of the caption.
const char* const kCancelLabel = QT_TRANSLATE_NOOP("songloader::gui::ProgressWindow", "Cancel");

// The text line's font: the desktop's, 13/16 of its height, normal weight.
QFont SmallFont(QFont font) {
    if (font.pixelSize() > 0) font.setPixelSize(font.pixelSize() * 13 / 16);
    else font.setPointSizeF(font.pointSizeF() * 13 / 16);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace

ProgressWindow::ProgressWindow(QWidget* owner, const QString& title)
    : QWidget(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      title_(title),
      text_(new QLabel(this)),
      batch_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(tr(kCancelLabel), this)) {
    InstallAccessibility();  // so screen readers meet it as a dialog
    setWindowTitle(title_);
    setCursor(Qt::BusyCursor);
    setFont(SmallFont(QGuiApplication::font()));
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(false);
    batch_->setTextFormat(Qt::PlainText);
    batch_->setObjectName(QStringLiteral("BatchText"));
    batch_->hide();
    bar_->setTextVisible(false);
    cancel_->setCursor(Qt::ArrowCursor);
    connect(cancel_, &QPushButton::clicked, this, &ProgressWindow::cancel);
    setRange(lower_, upper_, step_);
    layOut(kWidth);
    restorePosition();
}

void ProgressWindow::layOut(int width) {
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    // The batch's line, when there is one, goes above the song's.
    const int batchLines = batch_->isHidden() ? 0 : 1;
    batch_->setGeometry(10, 10, width, lineHeight);
    const QRect textRect(10, 10 + batchLines * (lineHeight + 4), width, lineHeight);
    const int gapWidth =
        metrics.horizontalAdvance(QLatin1Char(' ') + tr(kCancelLabel) + QStringLiteral("   ")) + 4 * kEdge;
    const int gapHeight = lineHeight + 3 * kEdge;
    const QRect gap(textRect.right() + 1 - gapWidth, textRect.bottom() + 1 + 10, gapWidth, gapHeight);
    const QRect barRect(QPoint(textRect.left(), gap.top() + kEdge), QPoint(gap.left() - 10 - 1, gap.bottom() - kEdge));
    setFixedSize(width + 20, gapHeight + lineHeight + 30 + batchLines * (lineHeight + 4));
    text_->setGeometry(textRect);
    bar_->setGeometry(barRect);
    cancel_->setGeometry(gap);
}

int ProgressWindow::Percent(int position, int lower, int upper) {
    if (upper <= lower) return 0;
    return static_cast<int>(static_cast<std::int64_t>(position) * 100 / (static_cast<std::int64_t>(upper) - lower));
}

void ProgressWindow::setRange(int lower, int upper, int step) {
    lower_ = lower;
    upper_ = upper;
    step_ = step;
    // An empty range would make the bar a busy indicator; it stays empty instead.
    if (upper > lower) bar_->setRange(lower, upper);
    else bar_->setRange(0, 1);
    bar_->setValue(bar_->minimum());
}

int ProgressWindow::setPos(int position) {
    const int previous = position_;
    position_ = position;
    const int percent = Percent(position, lower_, upper_);
    if (percent != previousPercent_) {
        previousPercent_ = percent;
        setWindowTitle(QStringLiteral("%1 [%2%]").arg(title_).arg(percent));
    }
    if (upper_ > lower_) bar_->setValue(std::clamp(position, lower_, upper_));
    return previous;
}

void ProgressWindow::setText(const QString& text) { text_->setText(text.left(kMaxTextLength)); }

void ProgressWindow::setBatchText(const QString& text) {
    const bool wasHidden = batch_->isHidden();
    batch_->setText(text);
    batch_->setAccessibleName(text);
    batch_->setHidden(text.isEmpty());
    if (wasHidden != batch_->isHidden()) layOut(kWidth);
}

QString ProgressWindow::batchText() const { return batch_->text(); }

QString ProgressWindow::BatchLine(const TransferBatch& batch, std::uint64_t received, double elapsed) {
    QStringList parts;
    parts << tr("Song %1 of %2").arg(batch.song).arg(batch.songCount);
    const std::uint64_t done = batch.bytesBefore + received;
    if (batch.totalBytes > 0) {
        parts << tr("%1 of %2")
                     .arg(QString::fromStdString(SizeText(std::min(done, batch.totalBytes))),
                          QString::fromStdString(SizeText(batch.totalBytes)));
        // Told once a few seconds and bytes give a rate worth going by.
        if (elapsed >= 2.0 && done > 0 && done < batch.totalBytes) {
            const double seconds = static_cast<double>(batch.totalBytes - done) * elapsed / static_cast<double>(done);
            parts << (seconds >= 60.0 ? tr("about %n min left", nullptr, static_cast<int>(seconds / 60.0 + 0.5))
                                      : tr("about %n s left", nullptr, std::max(1, static_cast<int>(seconds + 0.5))));
        }
    }
    return parts.join(QStringLiteral(" - "));
}

QString ProgressWindow::text() const { return text_->text(); }

void ProgressWindow::cancel() {
    cancel_->setEnabled(false);
    emit cancelRequested();
}

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    // The window goes when its download has ended; closing it asks for that.
    event->ignore();
    cancel();
}

void ProgressWindow::hideEvent(QHideEvent* event) {
    storePosition();
    QWidget::hideEvent(event);
}

void ProgressWindow::restorePosition() {
    const auto state = WindowState();
    const QPoint stored(state ? state->value(QStringLiteral("Settings/X"), -1).toInt() : -1,
                        state ? state->value(QStringLiteral("Settings/Y"), -1).toInt() : -1);
    if (stored.x() >= 0 && stored.y() >= 0 && QGuiApplication::screenAt(stored) != nullptr) {
        move(stored);
        return;
    }
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    move(area.center() - rect().center());
}

void ProgressWindow::storePosition() const {
    const auto state = WindowState();
    if (!state) return;
    state->setValue(QStringLiteral("Settings/X"), x());
    state->setValue(QStringLiteral("Settings/Y"), y());
}

DownloadResult RunTransferWithProgressWindow(QWidget* owner, const Transfer& transfer, DownloadProgress& progress,
                                             const std::string& name, const std::optional<TransferBatch>& batch,
                                             std::chrono::steady_clock::time_point batchStart) {
    ProgressWindow window(owner, CoreText(kProgressWindowTitle));
    const auto showBatch = [&] {
        if (!batch) return;
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - batchStart;
        const std::int64_t received = progress.receivedBytes.load();
        window.setBatchText(ProgressWindow::BatchLine(*batch, received > 0 ? static_cast<std::uint64_t>(received) : 0,
                                                      elapsed.count()));
    };
    showBatch();
    window.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    window.setRange(0, progress.progressSteps.load(), 1);
    window.setText(CoreText(kNowDownloadText) + QString::fromStdString(name));
    QObject::connect(&window, &ProgressWindow::cancelRequested, [&progress] { progress.RequestCancel(); });

    std::atomic<bool> finished{false};
    DownloadResult outcome = FailDownload(DownloadStatus::NetworkFailure);
    std::exception_ptr failure;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        window.setPos(progress.StepPosition());
        showBatch();
        if (finished.load()) loop.quit();
    });

    std::thread worker([&] {
        try {
            outcome = transfer();
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
    });
    window.show();
    poll.start();
    loop.exec();
    // The loop ends early only when the program is quitting: stop the transfer, then wait for it.
    if (!finished.load()) progress.RequestCancel();
    worker.join();
    poll.stop();
    window.setPos(progress.StepPosition());
    window.hide();
    if (failure) std::rethrow_exception(failure);
    return outcome;
}

}  // namespace songloader::gui
