// The per-user instance lock of the Linux backend, with real second processes:
// this binary started with --hold-instance takes the lock and keeps it until
// it is killed or its standard input closes.
#include "platform/linux/posix_services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

using zavo::platform::PosixServices;

namespace {

constexpr const char* kHoldArg = "--hold-instance";

int holdInstance(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    PosixServices services;
    const bool other = services.anotherInstanceRunning();
    std::printf("%s\n", other ? "other" : "held");
    std::fflush(stdout);
    if (other)
        return 2;
    // Hold until the test closes our standard input (or kills us).
    QSocketNotifier eof(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&eof, &QSocketNotifier::activated, &app, [&] {
        char buf[64];
        if (::read(STDIN_FILENO, buf, sizeof buf) <= 0)
            app.quit();
    });
    return app.exec();
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void init() {
        runtime_ = std::make_unique<QTemporaryDir>();
        QVERIFY(runtime_->isValid());
        QVERIFY(QFile::setPermissions(runtime_->path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_->path()));
    }

    void cleanup() { runtime_.reset(); }

    void firstInstanceIsAlone() {
        PosixServices services;
        QVERIFY(!services.anotherInstanceRunning());
        QVERIFY(QFileInfo::exists(lockPath())); // in the user's runtime folder
    }

    void liveHolderInAnotherProcessCounts() {
        auto holder = startHolder();
        QVERIFY(holder);
        {
            PosixServices services;
            QVERIFY(services.anotherInstanceRunning());
            QVERIFY(services.anotherInstanceRunning()); // still there: still another instance
        }
        // A third process is turned away as well.
        auto third = startHolder("other");
        QVERIFY(third);
        QVERIFY(third->waitForFinished(10000));
        QCOMPARE(third->exitCode(), 2);

        holder->closeWriteChannel();
        QVERIFY(holder->waitForFinished(10000));
    }

    void killedHolderDoesNotBlock() {
        auto holder = startHolder();
        QVERIFY(holder);
        holder->kill(); // SIGKILL: the lock file stays behind, naming a dead pid
        QVERIFY(holder->waitForFinished(10000));
        QVERIFY(QFileInfo::exists(lockPath()));

        PosixServices services;
        QVERIFY(!services.anotherInstanceRunning());
        // And we now hold it: a new process is turned away.
        auto next = startHolder("other");
        QVERIFY(next);
        QVERIFY(next->waitForFinished(10000));
    }

    void holderThatEndedDoesNotBlock() {
        auto holder = startHolder();
        QVERIFY(holder);
        holder->closeWriteChannel();
        QVERIFY(holder->waitForFinished(10000));
        QCOMPARE(holder->exitCode(), 0);

        PosixServices services;
        QVERIFY(!services.anotherInstanceRunning());
    }

    void sameObjectAsksAgainOnReload() {
        PosixServices services;
        QVERIFY(!services.anotherInstanceRunning());
        // The main window reloads after the registration dialog: same program.
        QVERIFY(!services.anotherInstanceRunning());
        QVERIFY(!services.anotherInstanceRunning());
    }

    void secondProcessSeesOurLock() {
        PosixServices services;
        QVERIFY(!services.anotherInstanceRunning());
        auto second = startHolder("other");
        QVERIFY(second);
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitCode(), 2);
        QVERIFY(!services.anotherInstanceRunning()); // the second did not take it from us
    }

private:
    // Starts a holder; returns it once it reported `held`.
    std::unique_ptr<QProcess> startHolder(const char* expected = "held") {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // It inherits the XDG_RUNTIME_DIR that init() set.
        p->start(QCoreApplication::applicationFilePath(), {kHoldArg});
        if (!p->waitForStarted(10000))
            return nullptr;
        while (!p->canReadLine())
            if (!p->waitForReadyRead(10000))
                return nullptr;
        const QByteArray line = p->readLine().trimmed();
        if (line != expected) {
            qWarning("holder said %s", line.constData());
            return nullptr;
        }
        return p;
    }

    QString lockPath() const { return runtime_->filePath("ZAVO_launcher.lock"); }

    std::unique_ptr<QTemporaryDir> runtime_;
};

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], kHoldArg) == 0)
        return holdInstance(argc, argv);
    QCoreApplication app(argc, argv);
    TestSingleInstance tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "test_single_instance.moc"
