// The real binary in a fresh working folder under a private Xvfb with
// openbox, and under GNOME's and KDE's compositors through their XWayland.
#include "support/sheets.h"
#include "support/x_driver.h"
#include "support/x_session.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using zavo::test::Desktop;
using zavo::test::kDialogTitle;
using zavo::test::kMainTitle;
using zavo::test::XDriver;
using zavo::test::XGeometry;
using zavo::test::XSession;

Q_DECLARE_METATYPE(Desktop)

class TestE2eSpine : public QObject {
    Q_OBJECT
private slots:
    void startsAtItsPlaceAndTopmost_data();
    void startsAtItsPlaceAndTopmost();
    void secondStartEndsWithoutASecondWindow_data();
    void secondStartEndsWithoutASecondWindow();
    void toolkitOptionsChangeNothing();
};

namespace {
// One row per desktop, each under its own session; `name` ends the row.
template <typename... Values> void addDesktopRows(const QString& name, const Values&... values) {
    for (const Desktop desktop : {Desktop::Openbox, Desktop::Gnome, Desktop::Kde})
        ((QTest::newRow(qPrintable(XSession::desktopName(desktop) + name)) << desktop)
         << ... << values);
}

// The desktops' virtual monitors are 1920 x 1080 as most screens are today;
// openbox's screen stays as it was.
QSize screenOf(Desktop desktop) {
    return desktop == Desktop::Openbox ? QSize(1280, 1024) : QSize(1920, 1080);
}

// Empty when `window` is the topmost of the managed windows and the active
// one; else what the window manager says instead.
QString notOnTopAndActive(XSession& x, quint64 window) {
    const QList<quint64> stack = x.stacking();
    if (!stack.isEmpty() && stack.last() == window && x.activeWindow() == window)
        return {};
    QStringList ids;
    for (const quint64 w : stack)
        ids << QString::number(w, 16);
    return QStringLiteral("0x%1: stacking (bottom first) %2, active 0x%3")
        .arg(QString::number(window, 16), ids.join(QLatin1Char(' ')),
             QString::number(x.activeWindow(), 16));
}

} // namespace

void TestE2eSpine::startsAtItsPlaceAndTopmost_data() {
    QTest::addColumn<Desktop>("desktop");
    addDesktopRows(QString());
}

void TestE2eSpine::startsAtItsPlaceAndTopmost() {
    QFETCH(Desktop, desktop);
    XSession x(screenOf(desktop), desktop);
    ZAVO_REQUIRE_X_SESSION(x);
    QTemporaryDir work;
    const QString shots = QStringLiteral(ZAVO_SCREENSHOT_DIR "/e2e_desktop_%1")
                              .arg(XSession::desktopName(desktop).section(QLatin1Char(' '), 0, 0));
    QVERIFY(!QFileInfo::exists(work.filePath("settei.ini")));

    QProcess* launcher = x.startLauncher(work.path());
    QCOMPARE(launcher->state(), QProcess::Running);
    const quint64 window = x.waitForWindow(kMainTitle);
    QVERIFY2(window != 0, "no window titled ZAVO_launcher was mapped");

    // The client window holds the menu bar on top of the 312 x 182 design area.
    // KWin maps the window first and moves it to its place a moment later.
    QTRY_COMPARE_WITH_TIMEOUT(x.geometry(window).x, 686, 10000);
    const XGeometry g = x.geometry(window);
    const int menu = g.height - 182;
    QVERIFY2(menu > 0, qPrintable(QStringLiteral("client height %1").arg(g.height)));
    QCOMPARE(g.x, 686);
    QCOMPARE(g.y + menu, 420);
    QCOMPARE(g.width, 312);

    const QString state = x.property(window, QStringLiteral("_NET_WM_STATE"));
    QVERIFY2(state.contains(QStringLiteral("_NET_WM_STATE_ABOVE")), qPrintable(state));
    // The window a user just started takes the keys.
    QTRY_VERIFY2_WITH_TIMEOUT(notOnTopAndActive(x, window).isEmpty(),
                              qPrintable(notOnTopAndActive(x, window)), 10000);

    const QFileInfo settei(work.filePath("settei.ini"));
    QTRY_VERIFY_WITH_TIMEOUT(settei.exists(), 10000);
    QVERIFY(settei.isFile());
    QCOMPARE(settei.size(), 0);
    QCOMPARE(launcher->state(), QProcess::Running);

    // A window opened later, over the launcher, stays below it.
    const QString laterTitle = QStringLiteral("zavo-later-window");
    x.startProcess(QStringLiteral("xmessage"),
                   {QStringLiteral("-title"), laterTitle, QStringLiteral("-geometry"),
                    QStringLiteral("400x300+600+380"), QStringLiteral("opened later")});
    const quint64 later = x.waitForWindow(laterTitle);
    QVERIFY(later != 0);
    QTRY_VERIFY_WITH_TIMEOUT(x.stacking().contains(later), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(x.stacking().last(), window, 10000);
    QVERIFY(x.property(window, QStringLiteral("_NET_WM_STATE"))
                .contains(QStringLiteral("_NET_WM_STATE_ABOVE")));
    QVERIFY(x.screenshot(shots + QStringLiteral("_above.png"), window));

    // The registration dialog opens above everything and takes the keys;
    // closed, it hands both back to the launcher.
    XDriver drive(x);
    QVERIFY(drive.keysTo(window, {QStringLiteral("alt+o")}));
    const quint64 dialog = x.waitForWindow(kDialogTitle);
    QVERIFY2(dialog != 0, "alt+o opened no registration dialog");
    QTRY_VERIFY2_WITH_TIMEOUT(notOnTopAndActive(x, dialog).isEmpty(),
                              qPrintable(notOnTopAndActive(x, dialog)), 10000);
    QVERIFY(x.screenshot(shots + QStringLiteral("_dialog.png"), dialog));
    QVERIFY(drive.keys({QStringLiteral("alt+r")}));
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kDialogTitle).isEmpty(), 10000);
    const quint64 back = x.waitForWindow(kMainTitle);
    QVERIFY2(back != 0, "alt+r did not bring the main window back");
    QTRY_VERIFY2_WITH_TIMEOUT(notOnTopAndActive(x, back).isEmpty(),
                              qPrintable(notOnTopAndActive(x, back)), 10000);
    QVERIFY(x.property(back, QStringLiteral("_NET_WM_STATE"))
                .contains(QStringLiteral("_NET_WM_STATE_ABOVE")));
    QCOMPARE(x.geometry(back).x, g.x);
    QCOMPARE(x.geometry(back).y, g.y);
}

void TestE2eSpine::secondStartEndsWithoutASecondWindow_data() {
    QTest::addColumn<Desktop>("desktop");
    QTest::addColumn<bool>("sameFolder");
    addDesktopRows(QStringLiteral(", same working folder"), true);
    addDesktopRows(QStringLiteral(", another working folder"), false);
}

void TestE2eSpine::secondStartEndsWithoutASecondWindow() {
    QFETCH(Desktop, desktop);
    QFETCH(bool, sameFolder);
    XSession x(screenOf(desktop), desktop);
    ZAVO_REQUIRE_X_SESSION(x);
    QTemporaryDir work;
    QTemporaryDir other;

    QProcess* first = x.startLauncher(work.path());
    const quint64 window = x.waitForWindow(kMainTitle);
    QVERIFY(window != 0);
    QTRY_COMPARE_WITH_TIMEOUT(x.geometry(window).x, 686, 10000);
    const XGeometry before = x.geometry(window);

    const QString secondDir = sameFolder ? work.path() : other.path();
    QProcess* second = x.startLauncher(secondDir);
    QVERIFY2(second->waitForFinished(10000), "the second instance did not end");
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);

    QCOMPARE(x.windows(kMainTitle), QList<quint64>{window});
    const XGeometry after = x.geometry(window);
    QCOMPARE(after.x, before.x);
    QCOMPARE(after.y, before.y);
    QCOMPARE(after.width, before.width);
    QCOMPARE(after.height, before.height);
    QCOMPARE(first->state(), QProcess::Running);
    if (!sameFolder) // it ended before opening its settei.ini
        QVERIFY(!QFileInfo::exists(other.filePath("settei.ini")));
}

// The program takes no command line: the toolkit's own options must not move,
// restyle or mirror it. Each start is compared, pixel by pixel above the clock
// line, with a start without options.
void TestE2eSpine::toolkitOptionsChangeNothing() {
    XSession x;
    ZAVO_REQUIRE_X_SESSION(x);
    if (QStandardPaths::findExecutable(QStringLiteral("compare")).isEmpty())
        QSKIP("compare (imagemagick) is not installed");
    QTemporaryDir work;

    const auto shot = [&](const QStringList& args, const QString& name) -> QString {
        QProcess* launcher = x.startProcess(XSession::launcherPath(), args, work.path());
        const quint64 window = x.waitForWindow(kMainTitle);
        if (window == 0)
            return {};
        const XGeometry g = x.geometry(window);
        const int menu = g.height - 182;
        const QString png = work.filePath(name + QStringLiteral(".png"));
        const bool placed = g.x == 686 && g.y + menu == 420 && g.width == 312;
        // The menu bar and the button grid, above the clock line.
        const bool taken =
            x.run(QStringLiteral("import"),
                  {QStringLiteral("-window"), QString::number(window), QStringLiteral("-crop"),
                   QStringLiteral("312x%1+0+0").arg(menu + 120), png}) == 0;
        launcher->terminate();
        launcher->waitForFinished(10000);
        return placed && taken ? png : QStringLiteral("misplaced");
    };

    const QString plain = shot({}, QStringLiteral("plain"));
    QVERIFY(QFileInfo::exists(plain));
    const QList<QStringList> optionSets{
        {QStringLiteral("-qwindowgeometry"), QStringLiteral("200x150+10+10")},
        {QStringLiteral("-reverse")},
        {QStringLiteral("-style"), QStringLiteral("windows")},
        {QStringLiteral("-platform"), QStringLiteral("offscreen")},
    };
    for (const QStringList& options : optionSets) {
        const QString png = shot(options, options.front().mid(1));
        QVERIFY2(QFileInfo::exists(png), qPrintable(options.join(' ') + QStringLiteral(": ") +
                                                    (png.isEmpty() ? "no window" : png)));
        QProcess compare; // prints the count of differing pixels
        compare.start(QStringLiteral("compare"), {QStringLiteral("-metric"), QStringLiteral("AE"),
                                                  plain, png, QStringLiteral("null:")});
        QVERIFY(compare.waitForFinished(20000));
        const QString differing = QString::fromUtf8(compare.readAllStandardError()).trimmed();
        QVERIFY2(differing == QStringLiteral("0"),
                 qPrintable(options.join(' ') + QStringLiteral(": ") + differing));
    }
}

QTEST_GUILESS_MAIN(TestE2eSpine)
#include "test_e2e_spine.moc"
