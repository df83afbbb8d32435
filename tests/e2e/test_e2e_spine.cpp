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

#include <tuple>

using namespace zavo::test;

Q_DECLARE_METATYPE(Desktop)

class TestE2eSpine : public QObject {
    Q_OBJECT
private slots:
    void startsAtItsPlaceAndTopmost_data();
    void startsAtItsPlaceAndTopmost();
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
    QTest::addColumn<bool>("sameFolder");
    addDesktopRows(QStringLiteral(", same working folder"), true);
    addDesktopRows(QStringLiteral(", another working folder"), false);
}

void TestE2eSpine::startsAtItsPlaceAndTopmost() {
    QFETCH(Desktop, desktop);
    QFETCH(bool, sameFolder);
    LauncherRun run(screenOf(desktop), desktop);
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    auto [x, xd] = std::tie(run.x, run.xd);
    const QString shots = QStringLiteral("e2e_desktop_%1")
                              .arg(XSession::desktopName(desktop).section(QLatin1Char(' '), 0, 0));
    QVERIFY(!QFileInfo::exists(run.file("settei.ini")));

    ZAVO_VERIFY_OK(run.start());
    QCOMPARE(run.launcher->state(), QProcess::Running);
    const quint64 window = run.window;
    // KWin maps the window first and moves it to its place a moment later.
    ZAVO_TRY_OK(xd.misplaced(window), 10000);
    const QRect place = xd.place(window);

    const QString state = x.property(window, QStringLiteral("_NET_WM_STATE"));
    QVERIFY2(state.contains(QStringLiteral("_NET_WM_STATE_ABOVE")), qPrintable(state));
    // The window a user just started takes the keys.
    ZAVO_TRY_OK(notOnTopAndActive(x, window), 10000);

    const QFileInfo settei(run.file("settei.ini"));
    QTRY_VERIFY_WITH_TIMEOUT(settei.exists(), 10000);
    QVERIFY(settei.isFile());
    QCOMPARE(settei.size(), 0);
    QCOMPARE(run.launcher->state(), QProcess::Running);

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
    QVERIFY(!xd.shot(shots + QStringLiteral("_above"), window).isEmpty());

    // A second start, from the same or another working folder, ends without
    // a second window and leaves the first one as it was.
    QTemporaryDir other;
    QProcess* second = x.startLauncher(sameFolder ? run.work.path() : other.path());
    QVERIFY2(second->waitForFinished(10000), "the second instance did not end");
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(x.windows(kMainTitle), QList<quint64>{window});
    QCOMPARE(xd.place(window), place);
    QCOMPARE(run.launcher->state(), QProcess::Running);
    if (!sameFolder) // it ended before opening its settei.ini
        QVERIFY(!QFileInfo::exists(other.filePath("settei.ini")));

    // The registration dialog opens above everything and takes the keys;
    // closed, it hands both back to the launcher.
    ZAVO_VERIFY_OK(run.openDialog(false));
    ZAVO_TRY_OK(notOnTopAndActive(x, run.dialog), 10000);
    QVERIFY(!xd.shot(shots + QStringLiteral("_dialog"), run.dialog).isEmpty());
    ZAVO_VERIFY_OK(run.returnToMain());
    const quint64 back = run.window;
    ZAVO_TRY_OK(notOnTopAndActive(x, back), 10000);
    QVERIFY(x.property(back, QStringLiteral("_NET_WM_STATE"))
                .contains(QStringLiteral("_NET_WM_STATE_ABOVE")));
    QCOMPARE(xd.place(back).topLeft(), place.topLeft());
}

// The program takes no command line: the toolkit's own options must not move,
// restyle or mirror it. Each start is compared, pixel by pixel above the clock
// line, with a start without options.
void TestE2eSpine::toolkitOptionsChangeNothing() {
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    if (QStandardPaths::findExecutable(QStringLiteral("compare")).isEmpty())
        QSKIP("compare (imagemagick) is not installed");
    auto [x, xd] = std::tie(run.x, run.xd);

    const auto shot = [&](const QStringList& args, const QString& name) -> QString {
        QProcess* launcher = x.startProcess(XSession::launcherPath(), args, run.work.path());
        const quint64 window = x.waitForWindow(kMainTitle);
        if (window == 0)
            return {};
        const XGeometry g = x.geometry(window);
        const int menu = g.height - kMainDesignHeight;
        const QString png = run.file(name + QStringLiteral(".png"));
        const bool placed = xd.misplaced(window).isEmpty();
        // The menu bar and the button grid, above the clock line.
        const bool taken =
            x.run(QStringLiteral("import"),
                  {QStringLiteral("-window"), QString::number(window), QStringLiteral("-crop"),
                   QStringLiteral("%1x%2+0+0").arg(g.width).arg(menu + 120), png}) == 0;
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
