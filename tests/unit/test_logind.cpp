// The logind backend of ExitWindowsEx against a fake org.freedesktop.login1 on
// a private bus started by this test. The real system bus is never used.
#include "core/services.h"
#include "platform/linux/logind_shutdown.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFileInfo>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

using namespace zavo;

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSessionConf = QStringLiteral("/usr/share/dbus-1/session.conf");

enum class Behaviour { Accept, Refuse, NoFlagsMethods };

// Records every call to the Manager and answers as told. It lives in a thread
// of its own: the backend blocks the calling thread until the answer comes.
class FakeLogind : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        if (message.path() != kPath || message.interface() != kManager)
            return false;
        QString line = message.member() + u' ' + message.signature();
        for (const QVariant& a : message.arguments())
            line += u' ' + a.toString();
        const QString member = message.member();
        Behaviour behaviour;
        {
            QMutexLocker lock(&mutex_);
            calls_ << line;
            if (message.isInteractiveAuthorizationAllowed())
                ++interactive_;
            behaviour = behaviour_;
        }
        const bool plain =
            (member == u"PowerOff" || member == u"Reboot") && message.signature() == u"b";
        const bool withFlags = (member == u"PowerOffWithFlags" || member == u"RebootWithFlags") &&
                               message.signature() == u"t";
        if (!plain && !(withFlags && behaviour != Behaviour::NoFlagsMethods))
            bus.send(message.createErrorReply(QDBusError::UnknownMethod, member));
        else if (behaviour == Behaviour::Refuse)
            bus.send(message.createErrorReply(QDBusError::AccessDenied, QStringLiteral("no")));
        else
            bus.send(message.createReply());
        return true;
    }

    void reset(Behaviour behaviour) {
        QMutexLocker lock(&mutex_);
        calls_.clear();
        interactive_ = 0;
        behaviour_ = behaviour;
    }
    QStringList calls() const {
        QMutexLocker lock(&mutex_);
        return calls_;
    }
    int interactive() const {
        QMutexLocker lock(&mutex_);
        return interactive_;
    }

private:
    mutable QMutex mutex_;
    QStringList calls_;
    int interactive_ = 0;
    Behaviour behaviour_ = Behaviour::Accept;
};

} // namespace

Q_DECLARE_METATYPE(Behaviour)

class TestLogind : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QString exe = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (exe.isEmpty() || !QFileInfo::exists(kSessionConf))
            QSKIP("dbus-daemon or its session.conf is not installed (apt-get install dbus)");
        daemon_.setProgram(exe);
        daemon_.setArguments({QStringLiteral("--config-file=") + kSessionConf,
                              QStringLiteral("--print-address"), QStringLiteral("--nofork")});
        daemon_.start();
        QVERIFY2(daemon_.waitForStarted(10000), qPrintable(daemon_.errorString()));
        while (!daemon_.canReadLine() && daemon_.waitForReadyRead(10000)) {
        }
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        QVERIFY2(!address_.isEmpty(), "dbus-daemon printed no address");

        QDBusConnection service = QDBusConnection::connectToBus(address_, QStringLiteral("fake"));
        QVERIFY(service.isConnected());
        fake_ = new FakeLogind;
        worker_.start();
        fake_->moveToThread(&worker_);
        QVERIFY(service.registerVirtualObject(kPath, fake_));
        QVERIFY(service.registerService(kService));
        QVERIFY(QDBusConnection::connectToBus(address_, QStringLiteral("client")).isConnected());
    }

    void cleanupTestCase() {
        if (fake_) {
            QDBusConnection::connectToBus(address_, QStringLiteral("fake")).unregisterObject(kPath);
            QDBusConnection::disconnectFromBus(QStringLiteral("fake"));
            QDBusConnection::disconnectFromBus(QStringLiteral("client"));
            worker_.quit();
            worker_.wait();
            delete fake_;
        }
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.terminate();
            if (!daemon_.waitForFinished(5000)) {
                daemon_.kill();
                daemon_.waitForFinished(5000);
            }
        }
    }

    void requestsGoToLogind_data() {
        using namespace platform;
        QTest::addColumn<unsigned>("flags");
        QTest::addColumn<Behaviour>("behaviour");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("accepted");
        const auto accept = Behaviour::Accept;
        const auto refuse = Behaviour::Refuse;
        const auto old = Behaviour::NoFlagsMethods;
        QTest::newRow("shutdown") << kEwxShutdown << accept << QStringList{"PowerOffWithFlags t 1"}
                                  << true;
        QTest::newRow("reboot") << kEwxReboot << accept << QStringList{"RebootWithFlags t 1"}
                                << true;
        QTest::newRow("forced shutdown")
            << (kEwxShutdown | kEwxForce) << accept << QStringList{"PowerOffWithFlags t 0"} << true;
        QTest::newRow("forced reboot")
            << (kEwxReboot | kEwxForce) << accept << QStringList{"RebootWithFlags t 0"} << true;
        QTest::newRow("older logind: shutdown")
            << kEwxShutdown << old << QStringList{"PowerOffWithFlags t 1", "PowerOff b false"}
            << true;
        QTest::newRow("older logind: forced reboot")
            << (kEwxReboot | kEwxForce) << old
            << QStringList{"RebootWithFlags t 0", "Reboot b false"} << true;
        // A refusal is final: no second, plain request that might bypass it.
        QTest::newRow("refused shutdown")
            << kEwxShutdown << refuse << QStringList{"PowerOffWithFlags t 1"} << false;
        QTest::newRow("refused forced reboot")
            << (kEwxReboot | kEwxForce) << refuse << QStringList{"RebootWithFlags t 0"} << false;
        QTest::newRow("no request") << 0u << accept << QStringList{} << false;
        QTest::newRow("force alone") << kEwxForce << accept << QStringList{} << false;
    }

    void requestsGoToLogind() {
        QFETCH(unsigned, flags);
        QFETCH(Behaviour, behaviour);
        QFETCH(QStringList, calls);
        QFETCH(bool, accepted);
        fake_->reset(behaviour);
        const QDBusConnection client =
            QDBusConnection::connectToBus(address_, QStringLiteral("client"));
        QCOMPARE(platform::logindShutdown(flags, client), accepted);
        QCOMPARE(fake_->calls(), calls);
        QCOMPARE(fake_->interactive(), 0); // never a password prompt
    }

    void noLogindOnTheBusIsRefused() {
        QDBusConnection service = QDBusConnection::connectToBus(address_, QStringLiteral("fake"));
        QVERIFY(service.unregisterService(kService));
        fake_->reset(Behaviour::Accept);
        const QDBusConnection client =
            QDBusConnection::connectToBus(address_, QStringLiteral("client"));
        const bool accepted = platform::logindShutdown(platform::kEwxShutdown, client);
        QVERIFY(service.registerService(kService));
        QVERIFY(!accepted);
        QVERIFY(fake_->calls().isEmpty());
    }

    void noBusIsRefused() {
        const QDBusConnection none(QStringLiteral("zavo-no-such-connection"));
        QVERIFY(!none.isConnected());
        fake_->reset(Behaviour::Accept);
        QVERIFY(!platform::logindShutdown(platform::kEwxShutdown | platform::kEwxForce, none));
        QVERIFY(fake_->calls().isEmpty());
    }

private:
    QProcess daemon_;
    QString address_;
    QThread worker_;
    FakeLogind* fake_ = nullptr;
};

QTEST_GUILESS_MAIN(TestLogind)
#include "test_logind.moc"
