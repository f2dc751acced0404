// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QRect>

class QPushButton;
class QWidget;

namespace songloader::gui {

// The stop of a long batch of copies: while offered, a "Stop after this song" button stands on
// the window and is the one control that takes input (Escape asks the same); every other click
// or key is held back, so no command starts inside the batch. Modal boxes the batch shows get
// their input as always.
class BatchStop final : public QObject {
    Q_OBJECT

public:
    BatchStop(QWidget* window, QRect place);

    void offer(bool offered);
    // The widget the button stands on from the next offer on (the window's design may move into
    // a scroll area).
    void placeOn(QWidget* host) { window_ = host; }
    bool offered() const { return offered_; }
    bool requested() const { return requested_; }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    void request();

    QWidget* window_;
    QRect place_;
    QPushButton* button_ = nullptr;  // only while offered: a hidden one would sit in the reader's tree
    bool offered_ = false;
    bool requested_ = false;
};

}  // namespace songloader::gui
