#include "a11y_bus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QStandardPaths>

namespace zavo::test {
namespace {

// The AT-SPI daemons are not on PATH.
QString findDaemon(const QString& name) {
    for (const char* dir : {"/usr/libexec", "/usr/lib/at-spi2-core", "/usr/lib/at-spi2"}) {
        const QString path = QString::fromLatin1(dir) + QLatin1Char('/') + name;
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return {};
}

// The system's own interpreter first: a Python on PATH (pyenv, venv) may not
// see the distribution's pyatspi.
QString findPythonWithPyatspi(XSession& x) {
    for (const QString& python : {QStringLiteral("/usr/bin/python3"),
                                  QStandardPaths::findExecutable(QStringLiteral("python3"))}) {
        if (!python.isEmpty() &&
            x.run(python, {QStringLiteral("-c"), QStringLiteral("import pyatspi")}) == 0)
            return python;
    }
    return {};
}

// A connection that stays registered under `name` once it is up.
bool connect(const QString& address, const QString& name) {
    return pollUntil([&] {
        if (QDBusConnection::connectToBus(address, name).isConnected())
            return true;
        QDBusConnection::disconnectFromBus(name);
        return false;
    });
}

// Asking for a name that nobody owns yet would make the bus start a service
// of its own: only look whether it is owned.
bool waitForOwner(const QString& connection, const QString& service) {
    return pollUntil([&] {
        return QDBusConnection(connection).interface()->isServiceRegistered(service).value();
    });
}

// A registry method that answers with an array of two-member structures
// (name, path) or (listener, event): one member of each, the first or the
// second; empty when it did not answer.
QStringList askRegistry(const QString& connection, const QString& path, const QString& interface,
                        const QString& method, bool second) {
    const QDBusMessage reply =
        QDBusConnection(connection)
            .call(QDBusMessage::createMethodCall(QStringLiteral("org.a11y.atspi.Registry"), path,
                                                 interface, method),
                  QDBus::Block, 5000);
    QStringList members;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return members;
    const QDBusArgument array = reply.arguments().constFirst().value<QDBusArgument>();
    array.beginArray();
    while (!array.atEnd()) {
        QString first, next;
        array.beginStructure();
        array >> first;
        if (second)
            array >> next;
        array.endStructure();
        members << (second ? next : first);
    }
    array.endArray();
    return members;
}

} // namespace

AccessibilityBus::AccessibilityBus(XSession& x)
    : connectionName_(QStringLiteral("zavo-a11y-") + x.runtimeDir()) {
    start(x);
}

AccessibilityBus::~AccessibilityBus() {
    QDBusConnection::disconnectFromBus(connectionName_ + QStringLiteral("-session"));
    QDBusConnection::disconnectFromBus(connectionName_ + QStringLiteral("-atspi"));
}

void AccessibilityBus::start(XSession& x) {
    const QString busLauncher = findDaemon(QStringLiteral("at-spi-bus-launcher"));
    const QString registry = findDaemon(QStringLiteral("at-spi2-registryd"));
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        skipReason_ = QStringLiteral("dbus-daemon is not installed (apt-get install dbus)");
    else if (busLauncher.isEmpty() || registry.isEmpty())
        skipReason_ =
            QStringLiteral("at-spi2-core is not installed (apt-get install at-spi2-core)");
    else if ((python_ = findPythonWithPyatspi(x)).isEmpty())
        skipReason_ =
            QStringLiteral("python3-pyatspi is not installed (apt-get install python3-pyatspi)");
    if (!skipReason_.isEmpty())
        return;

    const QString sessionAddress = x.startBus(QStringLiteral("session-bus"));
    x.setEnvironmentVariable(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionAddress);
    // Found through the session bus, as on a desktop; an empty value counts
    // as unset for Qt and libatspi alike.
    x.setEnvironmentVariable(QStringLiteral("AT_SPI_BUS_ADDRESS"), QString());
    const QString session = connectionName_ + QStringLiteral("-session");
    if (sessionAddress.isEmpty() || !connect(sessionAddress, session)) {
        failure_ = QStringLiteral("the private D-Bus session bus did not come up");
        return;
    }

    x.startProcess(busLauncher, {QStringLiteral("--launch-immediately")});
    QString& atspiAddress = atspiAddress_;
    const bool launched =
        waitForOwner(session, QStringLiteral("org.a11y.Bus")) && pollUntil([&] {
            const QDBusMessage reply = QDBusConnection(session).call(
                QDBusMessage::createMethodCall(
                    QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                    QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")),
                QDBus::Block, 5000);
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                atspiAddress = reply.arguments().constFirst().toString();
            return !atspiAddress.isEmpty();
        });
    const QString atspi = connectionName_ + QStringLiteral("-atspi");
    if (!launched || !connect(atspiAddress, atspi)) {
        failure_ = QStringLiteral("the AT-SPI bus did not come up");
        return;
    }

    x.startProcess(registry, {});
    if (!waitForOwner(atspi, QStringLiteral("org.a11y.atspi.Registry"))) {
        failure_ = QStringLiteral("the AT-SPI registry did not come up");
        return;
    }
    // Qt's bridge otherwise waits for a screen reader to announce itself.
    x.setEnvironmentVariable(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"),
                             QStringLiteral("1"));
}

QString AccessibilityBus::applicationBusName(qint64 pid) const {
    const QString atspi = connectionName_ + QStringLiteral("-atspi");
    // The registry's desktop lists every registered application.
    for (const QString& name : askRegistry(atspi, QStringLiteral("/org/a11y/atspi/accessible/root"),
                                           QStringLiteral("org.a11y.atspi.Accessible"),
                                           QStringLiteral("GetChildren"), false)) {
        if (QDBusConnection(atspi).interface()->servicePid(name).value() == pid)
            return name;
    }
    return {};
}

QStringList AccessibilityBus::registeredEvents() const {
    return askRegistry(
        connectionName_ + QStringLiteral("-atspi"), QStringLiteral("/org/a11y/atspi/registry"),
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("GetRegisteredEvents"), true);
}

} // namespace zavo::test
