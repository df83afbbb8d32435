#pragma once

#include <QDBusConnection>

namespace zavo::platform {
// Asks systemd-logind to power off (kEwxShutdown) or reboot (kEwxReboot),
// without an interactive prompt. True when logind accepted the request; false
// at once when there is no bus or no logind.
bool logindShutdown(unsigned ewxFlags, const QDBusConnection& bus = QDBusConnection::systemBus());
} // namespace zavo::platform
