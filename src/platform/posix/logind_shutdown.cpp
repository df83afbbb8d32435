#include "logind_shutdown.h"

#include "../services.h"

#include <QDBusMessage>

namespace zavo::platform {
namespace {

// SD_LOGIND_ROOT_CHECK_INHIBITORS: honour inhibitors even when privileged.
constexpr quint64 kCheckInhibitors = 1;

bool call(const QDBusConnection& bus, const QString& method, const QVariantList& args) {
    QDBusMessage msg = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), method);
    msg.setArguments(args);
    msg.setInteractiveAuthorizationAllowed(false);
    const QDBusMessage reply = bus.call(msg, QDBus::Block, 5000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace

bool logindShutdown(unsigned ewxFlags, const QDBusConnection& bus) {
    if (!bus.isConnected())
        return false;
    const bool reboot = (ewxFlags & EWX_REBOOT) != 0;
    if (!reboot && (ewxFlags & EWX_SHUTDOWN) == 0)
        return false;
    const QString base = reboot ? QStringLiteral("Reboot") : QStringLiteral("PowerOff");
    // Forced: do not wait for inhibitors, where logind lets us.
    const quint64 flags = (ewxFlags & EWX_FORCE) ? 0 : kCheckInhibitors;
    if (call(bus, base + QStringLiteral("WithFlags"), {QVariant::fromValue(flags)}))
        return true;
    return call(bus, base, {QVariant(false)});
}

} // namespace zavo::platform
