// The real binary in a Wayland session: a private headless weston with
// XWayland. Where XWayland is there the launcher runs on X11 (placement,
// topmost and Ctrl+P need it); where it is not, natively on Wayland.
#include "support/x_session.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr int kTimeoutMs = 30000;

} // namespace

class TestE2eWayland : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void platformOfTheSession_data();
    void platformOfTheSession();

private:
    // xwininfo's tree of the XWayland display ("" when it cannot be read).
    QString xTree();
    bool waitForLog(QProcess& process, const QRegularExpression& pattern, QString& log,
                    QRegularExpressionMatch* match = nullptr);

    std::unique_ptr<QTemporaryDir> runtime_;
    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<QProcess> weston_;
    std::unique_ptr<QProcess> launcher_;
    QString socket_;
    QString display_;
};

bool TestE2eWayland::waitForLog(QProcess& process, const QRegularExpression& pattern, QString& log,
                                QRegularExpressionMatch* match) {
    QDeadlineTimer deadline(kTimeoutMs);
    while (true) {
        log += QString::fromUtf8(process.readAll());
        const QRegularExpressionMatch m = pattern.match(log);
        if (m.hasMatch()) {
            if (match)
                *match = m;
            return true;
        }
        if (deadline.hasExpired() || process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(200);
    }
}

void TestE2eWayland::initTestCase() {
    for (const char* tool : {"weston", "Xwayland", "xwininfo"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (apt-get install weston "
                                            "xwayland x11-utils)")
                                 .arg(tool)));
    runtime_ = std::make_unique<QTemporaryDir>();
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(runtime_->isValid() && work_->isValid());
    QVERIFY(QFile::setPermissions(runtime_->path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(QDir(work_->path()).mkpath("home"));

    socket_ = QStringLiteral("zavo-e2e-%1").arg(QCoreApplication::applicationPid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET"})
        env.remove(QString::fromLatin1(name));
    env.insert("XDG_RUNTIME_DIR", runtime_->path());
    weston_ = std::make_unique<QProcess>();
    weston_->setProcessEnvironment(env);
    weston_->setProcessChannelMode(QProcess::MergedChannels);
    weston_->start("weston", {"--backend=headless-backend.so", "--xwayland", "--socket=" + socket_,
                              "--idle-time=0"});
    QVERIFY2(weston_->waitForStarted(kTimeoutMs), qPrintable(weston_->errorString()));
    QString log;
    QRegularExpressionMatch match;
    const bool up = waitForLog(*weston_, QRegularExpression("xserver listening on display (:\\d+)"),
                               log, &match);
    QVERIFY2(up, qPrintable("weston did not come up with XWayland:\n" + log));
    display_ = match.captured(1);
}

void TestE2eWayland::cleanupTestCase() {
    if (weston_ && weston_->state() != QProcess::NotRunning) {
        weston_->terminate();
        if (!weston_->waitForFinished(10000)) {
            weston_->kill();
            weston_->waitForFinished(10000);
        }
    }
}

void TestE2eWayland::cleanup() {
    if (launcher_) {
        launcher_->kill();
        launcher_->waitForFinished(10000);
        launcher_.reset();
    }
}

QString TestE2eWayland::xTree() {
    QProcess xwininfo;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    env.insert("XDG_RUNTIME_DIR", runtime_->path());
    xwininfo.setProcessEnvironment(env);
    xwininfo.start("xwininfo", {"-root", "-tree"});
    if (!xwininfo.waitForFinished(kTimeoutMs) || xwininfo.exitCode() != 0)
        return {};
    return QString::fromUtf8(xwininfo.readAllStandardOutput());
}

void TestE2eWayland::platformOfTheSession_data() {
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<bool>("onX11");

    // Without our choice Qt would go native here (qt6-wayland installed).
    QTest::newRow("WAYLAND_DISPLAY, XDG_SESSION_TYPE and DISPLAY: XWayland")
        << QStringList{"WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "DISPLAY"} << true;
    QTest::newRow("WAYLAND_DISPLAY and DISPLAY: XWayland")
        << QStringList{"WAYLAND_DISPLAY", "DISPLAY"} << true;
    QTest::newRow("no DISPLAY: native Wayland") << QStringList{"WAYLAND_DISPLAY"} << false;
    QTest::newRow("the user's QT_QPA_PLATFORM=wayland stands")
        << QStringList{"WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM"} << false;
}

void TestE2eWayland::platformOfTheSession() {
    QFETCH(QStringList, variables);
    QFETCH(bool, onX11);

    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                           QStringLiteral("/platforms/libqwayland-generic.so");
    if (!onX11 && !QFile::exists(plugin))
        QSKIP("Qt's Wayland platform plugin is not installed (apt-get install qt6-wayland)");

    // Only what a desktop session would hand over; no QT_QPA_PLATFORM of ours.
    QProcessEnvironment env;
    env.insert("PATH", qEnvironmentVariable("PATH"));
    env.insert("HOME", work_->filePath("home"));
    env.insert("LANG", "C.UTF-8");
    env.insert("XDG_RUNTIME_DIR", runtime_->path());
    env.insert("WAYLAND_DEBUG", "client"); // the protocol log shows a native window
    const QHash<QString, QString> values{{"WAYLAND_DISPLAY", socket_},
                                         {"XDG_SESSION_TYPE", "wayland"},
                                         {"DISPLAY", display_},
                                         {"QT_QPA_PLATFORM", "wayland"}};
    for (const QString& name : variables)
        env.insert(name, values.value(name));

    launcher_ = std::make_unique<QProcess>();
    launcher_->setProcessEnvironment(env);
    launcher_->setWorkingDirectory(work_->path());
    launcher_->setProcessChannelMode(QProcess::MergedChannels);
    launcher_->start(zavo::test::XSession::launcherPath(), {});
    QVERIFY2(launcher_->waitForStarted(kTimeoutMs), qPrintable(launcher_->errorString()));

    const QString window = QStringLiteral("\"ZAVO_launcher\"");
    if (onX11) {
        QTRY_VERIFY_WITH_TIMEOUT(xTree().contains(window), kTimeoutMs);
        QVERIFY(launcher_->state() == QProcess::Running);
        QVERIFY2(!launcher_->readAll().contains("xdg_toplevel"), "a native Wayland window too");
    } else {
        QString log;
        // An object is "xdg_toplevel@N" in libwayland 1.21 (Debian 12) and
        // "xdg_toplevel#N" in 1.23 (Debian 13).
        QVERIFY2(
            waitForLog(*launcher_,
                       QRegularExpression(R"(xdg_toplevel[@#]\d+\.set_title\("ZAVO_launcher"\))"),
                       log),
            qPrintable("no native Wayland window:\n" + log.right(2000)));
        QVERIFY(!xTree().contains(window));
    }
}

QTEST_GUILESS_MAIN(TestE2eWayland)
#include "test_e2e_wayland.moc"
