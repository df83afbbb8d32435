// The real binary in a Wayland session: a private headless weston with
// XWayland, started as the other desktops are. Where XWayland is there the
// launcher runs on X11 (placement, topmost and Ctrl+P need it); where it is
// not, natively on Wayland.
#include "support/x_session.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using zavo::test::Desktop;
using zavo::test::ended;
using zavo::test::pollUntil;
using zavo::test::XSession;

namespace {

constexpr int kTimeoutMs = 30000;
const QString kTitle = QStringLiteral("ZAVO_launcher");

// What the process wrote so far; without an event loop nobody reads its pipe.
QString outputOf(QProcess& p) {
    p.waitForReadyRead(0);
    return QString::fromUtf8(p.readAll());
}

} // namespace

class TestE2eWayland : public QObject {
    Q_OBJECT
private slots:
    void platformOfTheSession_data();
    void platformOfTheSession();
};

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

    XSession x(QSize(1280, 1024), Desktop::Weston);
    ZAVO_REQUIRE_X_SESSION(x);
    QTemporaryDir work;
    QVERIFY(work.isValid() && QDir(work.path()).mkpath("home"));
    // Only what a desktop session would hand over; no QT_QPA_PLATFORM of ours.
    const QProcessEnvironment session = x.environment();
    QProcessEnvironment env;
    env.insert("PATH", qEnvironmentVariable("PATH"));
    env.insert("HOME", work.filePath("home"));
    env.insert("LANG", "C.UTF-8");
    env.insert("XDG_RUNTIME_DIR", session.value("XDG_RUNTIME_DIR"));
    env.insert("WAYLAND_DEBUG", "client"); // the protocol log shows a native window
    for (const QString& name : variables)
        env.insert(name,
                   name == "QT_QPA_PLATFORM" ? QStringLiteral("wayland") : session.value(name));

    QProcess& launcher = x.newProcess();
    launcher.setProcessEnvironment(env);
    launcher.setWorkingDirectory(work.path());
    launcher.setProcessChannelMode(QProcess::MergedChannels);
    launcher.start(XSession::launcherPath(), {});
    QVERIFY2(launcher.waitForStarted(kTimeoutMs), qPrintable(launcher.errorString()));

    if (onX11) {
        QVERIFY(x.waitForWindow(kTitle, kTimeoutMs) != 0);
        QVERIFY(!ended(launcher));
        QVERIFY2(!outputOf(launcher).contains("xdg_toplevel"), "a native Wayland window too");
    } else {
        // An object is "xdg_toplevel@N" in libwayland 1.21 (Debian 12) and
        // "xdg_toplevel#N" in 1.23 (Debian 13).
        const QRegularExpression native(R"(xdg_toplevel[@#]\d+\.set_title\("ZAVO_launcher"\))");
        QString log;
        QVERIFY2(pollUntil([&] { return native.match(log += outputOf(launcher)).hasMatch(); },
                           [&] { return ended(launcher); }, kTimeoutMs),
                 qPrintable("no native Wayland window:\n" + log.right(2000)));
        // No X window at all, viewable or not.
        QVERIFY(!x.namedWindows().join(QLatin1Char('\n')).contains('"' + kTitle + '"'));
    }
}

QTEST_GUILESS_MAIN(TestE2eWayland)
#include "test_e2e_wayland.moc"
