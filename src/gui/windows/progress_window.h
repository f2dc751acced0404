// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "core/app/dialog_view.h"
#include "core/cloud/download_failure.h"
#include "core/cloud/download_progress.h"
#include "core/cloud/download_protocol.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace songloader::gui {

// The small always-on-top window that follows one download: a text line, a bar, a "Cancel"
// button, and the percentage in the caption ("Download Progress [42%]"), which changes only when
// the whole percent does. It comes back where the user last left it ("Settings/X" and "Settings/Y"
// of window-state.conf beside songloader.conf), or centred when that place is on no screen.
class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 390;
    static constexpr int kMaxTextLength = 511;

    ProgressWindow(QWidget* owner, const QString& title);

    void setRange(int lower, int upper, int step = 1);
    // Returns the previous position.
    int setPos(int position);
    int stepIt() { return setPos(position_ + step_); }
    // Shown literally, cut after 511 characters.
    void setText(const QString& text);
    QString text() const;

    // The caption's percent for a position: 0 for an empty range.
    static int Percent(int position, int lower, int upper);

    // The second line, for a download of a batch: "Song 2 of 5 - 12 MiB of 40 MiB - about 1 min left".
    void setBatchText(const QString& text);
    QString batchText() const;
    // That line for `batch` with `received` bytes of its current song, `elapsed` seconds after
    // the batch started; the time left only once it can be told.
    static QString BatchLine(const TransferBatch& batch, std::uint64_t received, double elapsed);

signals:
    // The user asked to stop (button, Escape or the window manager's close).
    void cancelRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void layOut(int width);
    void restorePosition();
    void storePosition() const;
    void cancel();

    QString title_;
    int lower_ = 0;
    int upper_ = 100;
    int step_ = 1;
    int position_ = 0;
    int previousPercent_ = 0;
    QLabel* text_;
    QLabel* batch_;
    QProgressBar* bar_;
    QPushButton* cancel_;
};

// Runs `transfer` on a worker thread while a ProgressWindow named "Now Download:" + `name` follows
// `progress` and holds back input to `owner`; its Cancel calls progress.RequestCancel(). Returns
// the transfer's outcome once the worker has ended (an exception of the transfer is passed on).
// With `batch`, the window also tells which song of the batch it is, the bytes of the batch, and
// the time left (from the rate since `batchStart`).
DownloadResult RunTransferWithProgressWindow(QWidget* owner, const Transfer& transfer, DownloadProgress& progress,
                                             const std::string& name, const std::optional<TransferBatch>& batch = {},
                                             std::chrono::steady_clock::time_point batchStart = {});

}  // namespace songloader::gui
