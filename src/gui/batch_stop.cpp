// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/batch_stop.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace songloader::gui {

namespace {

constexpr const char* kStopText = QT_TRANSLATE_NOOP("songloader::gui::BatchStop", "Stop after this song");
constexpr const char* kStoppingText = QT_TRANSLATE_NOOP("songloader::gui::BatchStop", "Stopping after this song");

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Drop: return true;
        default: return false;
    }
}

}  // namespace

BatchStop::BatchStop(QWidget* window, QRect place) : QObject(window), window_(window), place_(place) {}

void BatchStop::offer(bool offered) {
    if (offered == offered_) return;
    offered_ = offered;
    requested_ = false;
    if (offered) {
        button_ = new QPushButton(tr(kStopText), window_);
        button_->setObjectName("BatchStop");
        button_->setAccessibleName(tr(kStopText));
        button_->setGeometry(place_);
        connect(button_, &QPushButton::clicked, this, [this] { request(); });
        button_->show();
        button_->raise();
        qApp->installEventFilter(this);
    } else {
        qApp->removeEventFilter(this);
        button_->hide();
        button_->deleteLater();
        button_ = nullptr;
    }
}

void BatchStop::request() {
    requested_ = true;
    button_->setText(tr(kStoppingText));
    button_->setEnabled(false);
}

bool BatchStop::eventFilter(QObject* receiver, QEvent* event) {
    if (!offered_ || !IsUserInput(event->type())) return false;
    // A box the batch shows is answered as always.
    if (QApplication::activeModalWidget()) return false;
    if (receiver == button_) return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (!requested_) request();
    }
    return true;
}

}  // namespace songloader::gui
