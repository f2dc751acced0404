// SPDX-License-Identifier: GPL-3.0-or-later
#include "udisks/udisks_drive_ejector.h"

#include <QByteArrayList>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QMap>
#include <QVariantMap>

namespace songloader {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kRootPath = QStringLiteral("/org/freedesktop/UDisks2");
const QString kBlock = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kDrive = QStringLiteral("org.freedesktop.UDisks2.Drive");
const QString kBusyError = QStringLiteral("org.freedesktop.UDisks2.Error.DeviceBusy");

using InterfaceMap = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceMap>;

// The mount points of a Filesystem interface: an array of NUL-terminated byte strings.
QByteArrayList MountPointsOf(const QVariant& value) {
    QByteArrayList points;
    if (value.canConvert<QDBusArgument>()) {
        value.value<QDBusArgument>() >> points;
    } else {
        points = value.value<QByteArrayList>();
    }
    for (QByteArray& point : points) {
        if (point.endsWith('\0')) point.chop(1);
    }
    return points;
}

Failure Refused(EjectRefusal why, const std::filesystem::path& mountPoint, const QDBusMessage& reply) {
    return EjectFailure(why, mountPoint, reply.errorMessage().toStdString());
}

bool NoServiceError(const QDBusMessage& reply) {
    const QString name = reply.errorName();
    return name == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") ||
           name == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner") ||
           name == QStringLiteral("org.freedesktop.DBus.Error.NoServer") ||
           name == QStringLiteral("org.freedesktop.DBus.Error.Disconnected") ||
           name == QStringLiteral("org.freedesktop.DBus.Error.Spawn.ServiceNotFound");
}

}  // namespace

UdisksDriveEjector::UdisksDriveEjector(std::chrono::milliseconds timeout) : timeout_(timeout) {
    qDBusRegisterMetaType<InterfaceMap>();
    qDBusRegisterMetaType<ManagedObjects>();
}

Result<> UdisksDriveEjector::Eject(const std::filesystem::path& mountPoint) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return EjectFailure(EjectRefusal::NoService, mountPoint, bus.lastError().message().toStdString());
    }
    const int timeout = static_cast<int>(timeout_.count());

    QDBusMessage list = QDBusMessage::createMethodCall(
        kService, kRootPath, QStringLiteral("org.freedesktop.DBus.ObjectManager"), QStringLiteral("GetManagedObjects"));
    const QDBusMessage objects = bus.call(list, QDBus::Block, timeout);
    if (objects.type() != QDBusMessage::ReplyMessage) {
        return Refused(NoServiceError(objects) ? EjectRefusal::NoService : EjectRefusal::Failed, mountPoint, objects);
    }
    ManagedObjects managed;
    objects.arguments().value(0).value<QDBusArgument>() >> managed;

    const QByteArray wanted = QByteArray::fromStdString(mountPoint.lexically_normal().string());
    QString block;
    QString drive;
    for (auto it = managed.cbegin(); it != managed.cend(); ++it) {
        const InterfaceMap& interfaces = it.value();
        if (!interfaces.contains(kFilesystem) || !interfaces.contains(kBlock)) continue;
        if (!MountPointsOf(interfaces[kFilesystem].value(QStringLiteral("MountPoints"))).contains(wanted)) continue;
        block = it.key().path();
        drive = interfaces[kBlock].value(QStringLiteral("Drive")).value<QDBusObjectPath>().path();
        break;
    }
    if (block.isEmpty()) return EjectFailure(EjectRefusal::NotFound, mountPoint);

    QDBusMessage unmount = QDBusMessage::createMethodCall(kService, block, kFilesystem, QStringLiteral("Unmount"));
    unmount << QVariantMap{};
    const QDBusMessage unmounted = bus.call(unmount, QDBus::Block, timeout);
    if (unmounted.type() != QDBusMessage::ReplyMessage) {
        return Refused(unmounted.errorName() == kBusyError ? EjectRefusal::Busy : EjectRefusal::Failed, mountPoint,
                       unmounted);
    }
    // A block device of no drive (a loop device) is safe to remove once unmounted.
    if (drive.isEmpty() || drive == QStringLiteral("/")) return {};
    QDBusMessage powerOff = QDBusMessage::createMethodCall(kService, drive, kDrive, QStringLiteral("PowerOff"));
    powerOff << QVariantMap{};
    // Unmounted and flushed: safe to pull even where the drive cannot be powered off.
    bus.call(powerOff, QDBus::Block, timeout);
    return {};
}

}  // namespace songloader
