// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/desktop_notifier.h"

#include <QDBusMessage>
#include <QVariantMap>

#include "core/common/notice.h"

namespace songloader::gui {

namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";
// The desktop entry and icon the notification belongs to.
constexpr const char* kDesktopEntry = "org.songloader.SongLoader";
constexpr const char* kIconName = "org.songloader.SongLoader";

}  // namespace

DesktopNotifier::DesktopNotifier() : connection_(QDBusConnection::sessionBus()) {}

DesktopNotifier::DesktopNotifier(const QDBusConnection& connection) : connection_(connection) {}

bool DesktopNotifier::Notify(const QString& summary, const QString& body) const {
    if (!connection_.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(kDesktopEntry));
    // The service is not started for this: no notification daemon, no notification.
    call.setAutoStartService(false);
    call << QString::fromUtf8(kApplicationName) << 0u << QString::fromLatin1(kIconName) << summary << body
         << QStringList() << hints << -1;
    // The answer (an id, or an error when no service runs) is not waited for.
    return connection_.send(call);
}

}  // namespace songloader::gui
