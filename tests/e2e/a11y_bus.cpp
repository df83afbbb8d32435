#include "a11y_bus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <functional>

namespace zavo::test {
namespace {

constexpr int kTimeoutMs = 30000;

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
QString findPythonWithPyatspi() {
    for (const QString& python : {QStringLiteral("/usr/bin/python3"),
                                  QStandardPaths::findExecutable(QStringLiteral("python3"))}) {
        if (python.isEmpty() || !QFileInfo(python).isExecutable())
            continue;
        QProcess p;
        p.start(python, {QStringLiteral("-c"), QStringLiteral("import pyatspi")});
        if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return python;
    }
    return {};
}

bool waitFor(const std::function<bool()>& ready) {
    const QDeadlineTimer deadline(kTimeoutMs);
    while (!deadline.hasExpired()) {
        if (ready())
            return true;
        QThread::msleep(50);
    }
    return false;
}

// A connection that stays registered under `name` once it is up.
bool connect(const QString& address, const QString& name) {
    return waitFor([&] {
        if (QDBusConnection::connectToBus(address, name).isConnected())
            return true;
        QDBusConnection::disconnectFromBus(name);
        return false;
    });
}

// Asking for a name that nobody owns yet would make the bus start a service
// of its own: only look whether it is owned.
bool waitForOwner(const QString& connection, const QString& service) {
    return waitFor([&] {
        return QDBusConnection(connection).interface()->isServiceRegistered(service).value();
    });
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
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    const QString sessionConfig = QStringLiteral("/usr/share/dbus-1/session.conf");
    if (daemon.isEmpty() || !QFileInfo::exists(sessionConfig)) {
        skipReason_ = QStringLiteral("dbus-daemon is not installed (apt-get install dbus)");
        return;
    }
    const QString busLauncher = findDaemon(QStringLiteral("at-spi-bus-launcher"));
    const QString registry = findDaemon(QStringLiteral("at-spi2-registryd"));
    if (busLauncher.isEmpty() || registry.isEmpty()) {
        skipReason_ =
            QStringLiteral("at-spi2-core is not installed (apt-get install at-spi2-core)");
        return;
    }
    python_ = findPythonWithPyatspi();
    if (python_.isEmpty()) {
        skipReason_ =
            QStringLiteral("python3-pyatspi is not installed (apt-get install python3-pyatspi)");
        return;
    }

    const QString sessionAddress =
        QStringLiteral("unix:path=") + x.runtimeDir() + QStringLiteral("/session-bus");
    x.setEnvironmentVariable(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionAddress);
    // Found through the session bus, as on a desktop; an empty value counts
    // as unset for Qt and libatspi alike.
    x.setEnvironmentVariable(QStringLiteral("AT_SPI_BUS_ADDRESS"), QString());
    x.startProcess(daemon,
                   {QStringLiteral("--nofork"), QStringLiteral("--config-file=") + sessionConfig,
                    QStringLiteral("--address=") + sessionAddress});
    const QString session = connectionName_ + QStringLiteral("-session");
    if (!connect(sessionAddress, session)) {
        failure_ = QStringLiteral("the private D-Bus session bus did not come up");
        return;
    }

    x.startProcess(busLauncher, {QStringLiteral("--launch-immediately")});
    QString& atspiAddress = atspiAddress_;
    const bool launched =
        waitForOwner(session, QStringLiteral("org.a11y.Bus")) && waitFor([&] {
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
    const QDBusConnection atspi(connectionName_ + QStringLiteral("-atspi"));
    // The registry's desktop lists every registered application as (name, path).
    const QDBusMessage reply =
        atspi.call(QDBusMessage::createMethodCall(QStringLiteral("org.a11y.atspi.Registry"),
                                                  QStringLiteral("/org/a11y/atspi/accessible/root"),
                                                  QStringLiteral("org.a11y.atspi.Accessible"),
                                                  QStringLiteral("GetChildren")),
                   QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const QDBusArgument children = reply.arguments().constFirst().value<QDBusArgument>();
    QStringList names;
    children.beginArray();
    while (!children.atEnd()) {
        QString name;
        QDBusObjectPath path;
        children.beginStructure();
        children >> name >> path;
        children.endStructure();
        names << name;
    }
    children.endArray();
    for (const QString& name : names) {
        if (atspi.interface()->servicePid(name).value() == pid)
            return name;
    }
    return {};
}

QStringList AccessibilityBus::registeredEvents() const {
    const QDBusMessage reply =
        QDBusConnection(connectionName_ + QStringLiteral("-atspi"))
            .call(QDBusMessage::createMethodCall(QStringLiteral("org.a11y.atspi.Registry"),
                                                 QStringLiteral("/org/a11y/atspi/registry"),
                                                 QStringLiteral("org.a11y.atspi.Registry"),
                                                 QStringLiteral("GetRegisteredEvents")),
                  QDBus::Block, 5000);
    QStringList events;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return events;
    // An array of (listener's bus name, event).
    const QDBusArgument listeners = reply.arguments().constFirst().value<QDBusArgument>();
    listeners.beginArray();
    while (!listeners.atEnd()) {
        QString listener;
        QString event;
        listeners.beginStructure();
        listeners >> listener >> event;
        listeners.endStructure();
        events << event;
    }
    listeners.endArray();
    return events;
}

} // namespace zavo::test
