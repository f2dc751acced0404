// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QString>

namespace songloader::gui {

// Sends desktop notifications (org.freedesktop.Notifications) on a D-Bus connection, the user's
// session bus by default. Fire and forget: the call never waits for an answer, and without a bus
// or a notification service nothing happens and nothing is reported.
class DesktopNotifier {
public:
    DesktopNotifier();
    explicit DesktopNotifier(const QDBusConnection& connection);

    // False when the call could not even be put on the bus.
    bool Notify(const QString& summary, const QString& body) const;

private:
    QDBusConnection connection_;
};

}  // namespace songloader::gui
