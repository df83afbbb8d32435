#include "logind_shutdown.h"

#include "core/services.h"

#include <QDBusMessage>

namespace zavo::platform {
namespace {

// SD_LOGIND_ROOT_CHECK_INHIBITORS: honour inhibitors even when privileged.
constexpr quint64 kCheckInhibitors = 1;

// The reply to one Manager method call.
QDBusMessage call(const QDBusConnection& bus, const QString& method, const QVariantList& args) {
    QDBusMessage msg = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), method);
    msg.setArguments(args);
    msg.setInteractiveAuthorizationAllowed(false);
    return bus.call(msg, QDBus::Block, 5000);
}

} // namespace

bool logindShutdown(unsigned ewxFlags, const QDBusConnection& bus) {
    if (!bus.isConnected())
        return false;
    const bool reboot = (ewxFlags & kEwxReboot) != 0;
    if (!reboot && (ewxFlags & kEwxShutdown) == 0)
        return false;
    const QString base = reboot ? QStringLiteral("Reboot") : QStringLiteral("PowerOff");
    // Forced: do not wait for inhibitors, where logind lets us.
    const quint64 flags = (ewxFlags & kEwxForce) ? 0 : kCheckInhibitors;
    const QDBusMessage reply =
        call(bus, base + QStringLiteral("WithFlags"), {QVariant::fromValue(flags)});
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    // Only a logind too old for the flags variant gets the plain call; a
    // refusal stands (the plain call would skip the inhibitor check as root).
    if (reply.errorName() != QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"))
        return false;
    return call(bus, base, {QVariant(false)}).type() == QDBusMessage::ReplyMessage;
}

} // namespace zavo::platform
