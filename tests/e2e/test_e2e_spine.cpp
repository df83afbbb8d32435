// The real binary under a private Xvfb with openbox, in a fresh working folder.
#include "support/sheets.h"
#include "support/x_session.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using zavo::test::kMainTitle;
using zavo::test::XGeometry;
using zavo::test::XSession;

class TestE2eSpine : public QObject {
    Q_OBJECT
private slots:
    void startsAtItsPlaceAndTopmost();
    void secondStartEndsWithoutASecondWindow_data();
    void secondStartEndsWithoutASecondWindow();
    void toolkitOptionsChangeNothing();
};

void TestE2eSpine::startsAtItsPlaceAndTopmost() {
    XSession x;
    ZAVO_REQUIRE_X_SESSION(x);
    QTemporaryDir work;
    QVERIFY(!QFileInfo::exists(work.filePath("settei.ini")));

    QProcess* launcher = x.startLauncher(work.path());
    QCOMPARE(launcher->state(), QProcess::Running);
    const quint64 window = x.waitForWindow(kMainTitle);
    QVERIFY2(window != 0, "no window titled ZAVO_launcher was mapped");

    // The client window holds the menu bar on top of the 312 x 182 design area.
    const XGeometry g = x.geometry(window);
    const int menu = g.height - 182;
    QVERIFY2(menu > 0, qPrintable(QStringLiteral("client height %1").arg(g.height)));
    QCOMPARE(g.x, 686);
    QCOMPARE(g.y + menu, 420);
    QCOMPARE(g.width, 312);

    const QString state = x.property(window, QStringLiteral("_NET_WM_STATE"));
    QVERIFY2(state.contains(QStringLiteral("_NET_WM_STATE_ABOVE")), qPrintable(state));

    const QFileInfo settei(work.filePath("settei.ini"));
    QTRY_VERIFY_WITH_TIMEOUT(settei.exists(), 10000);
    QVERIFY(settei.isFile());
    QCOMPARE(settei.size(), 0);
    QCOMPARE(launcher->state(), QProcess::Running);
}

void TestE2eSpine::secondStartEndsWithoutASecondWindow_data() {
    QTest::addColumn<bool>("sameFolder");
    QTest::newRow("same working folder") << true;
    QTest::newRow("another working folder") << false;
}

void TestE2eSpine::secondStartEndsWithoutASecondWindow() {
    QFETCH(bool, sameFolder);
    XSession x;
    ZAVO_REQUIRE_X_SESSION(x);
    QTemporaryDir work;
    QTemporaryDir other;

    QProcess* first = x.startLauncher(work.path());
    const quint64 window = x.waitForWindow(kMainTitle);
    QVERIFY(window != 0);
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
