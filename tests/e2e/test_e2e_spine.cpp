// The real binary under a private Xvfb with openbox, in a fresh working folder.
#include "support/x_session.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using zavo::test::XGeometry;
using zavo::test::XSession;

class TestE2eSpine : public QObject {
    Q_OBJECT
private slots:
    void startsAtItsPlaceAndTopmost();
    void secondStartEndsWithoutASecondWindow_data();
    void secondStartEndsWithoutASecondWindow();
};

namespace {
const QString kTitle = QStringLiteral("ZAVO_launcher");
}

void TestE2eSpine::startsAtItsPlaceAndTopmost() {
    XSession x;
    ZAVO_REQUIRE_X_SESSION(x);
    QTemporaryDir work;
    QVERIFY(!QFileInfo::exists(work.filePath("settei.ini")));

    QProcess* launcher = x.startLauncher(work.path());
    QCOMPARE(launcher->state(), QProcess::Running);
    const quint64 window = x.waitForWindow(kTitle);
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
    const quint64 window = x.waitForWindow(kTitle);
    QVERIFY(window != 0);
    const XGeometry before = x.geometry(window);

    const QString secondDir = sameFolder ? work.path() : other.path();
    QProcess* second = x.startLauncher(secondDir);
    QVERIFY2(second->waitForFinished(10000), "the second instance did not end");
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);

    QCOMPARE(x.windows(kTitle), QList<quint64>{window});
    const XGeometry after = x.geometry(window);
    QCOMPARE(after.x, before.x);
    QCOMPARE(after.y, before.y);
    QCOMPARE(after.width, before.width);
    QCOMPARE(after.height, before.height);
    QCOMPARE(first->state(), QProcess::Running);
    if (!sameFolder) // it ended before opening its settei.ini
        QVERIFY(!QFileInfo::exists(other.filePath("settei.ini")));
}

QTEST_GUILESS_MAIN(TestE2eSpine)
#include "test_e2e_spine.moc"
