// The media-player button of the real binary under a private Xvfb with
// openbox. Its counterpart is a stand-in player, the default audio/mpeg
// application of a private desktop database, that maps its window half a
// second after it starts and records the keys it gets. It gets Ctrl+P; a
// player that never shows a window holds the click up to the launcher's bound,
// and Ctrl+P goes to the window that is active then. Either way the launcher
// takes the focus back.
//
// Keys: the focus starts on this button whenever the main window shows, so
// Space or Enter right after the start, and after About or the dialog, start
// the player and never the shutdown request, which a private system bus
// records (Alt+W, the shutdown button's access key, shows it would be seen).
#include "support/sheets.h"
#include "support/slot_bytes.h"
#include "support/x_driver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

#include <tuple>

using namespace zavo::test;

namespace {

const QString kPlayerTitle = QStringLiteral("zavo test player");
const QString kPlayer = QStringLiteral(ZAVO_TEST_PLAYER);

} // namespace

class TestE2ePlayer : public QObject {
    Q_OBJECT
private slots:
    void ctrlPAfterThePlayerIsReady_data();
    void ctrlPAfterThePlayerIsReady();
    void altWAsksForTheShutdown();
};

void TestE2ePlayer::ctrlPAfterThePlayerIsReady_data() {
    QTest::addColumn<int>("delayMs"); // when the player maps its window; never when negative
    // What presses the button: xdotool keys, "*TITLE" waiting until the
    // window of that title is active; a click when empty.
    QTest::addColumn<QStringList>("presses");
    const QString about = QLatin1Char('*') + kAboutTitle;
    const QString dialog = QLatin1Char('*') + kDialogTitle;
    const QString launcher = QLatin1Char('*') + kMainTitle;
    QTest::newRow("window after 0.5 s") << 500 << QStringList{};
    QTest::newRow("never a window") << -1 << QStringList{};
    QTest::newRow("Space at the start") << 500 << QStringList{"space"};
    QTest::newRow("Enter at the start") << 500 << QStringList{"Return"};
    QTest::newRow("Space after About")
        << 500 << QStringList{"alt+h", "i", about, "Escape", launcher, "space"};
    QTest::newRow("Enter after the dialog")
        << 500 << QStringList{"alt+o", dialog, "Escape", launcher, "Return"};
}

void TestE2ePlayer::ctrlPAfterThePlayerIsReady() {
    QFETCH(int, delayMs);
    QFETCH(QStringList, presses);
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    auto [x, xd] = std::tie(run.x, run.xd);
    const QString systemBus = x.recordSystemBus();
    QVERIFY2(!systemBus.isEmpty(), "no private system bus (apt-get install dbus)");

    // The private database: the stand-in is the one audio/mpeg application.
    const QDir root(run.work.path());
    for (const char* dir : {"data/applications", "sysdata", "config", "sysconfig", "work"})
        QVERIFY(root.mkpath(QString::fromLatin1(dir)));
    const QString keys = root.filePath(QStringLiteral("keys"));
    writeFile(root.filePath(QStringLiteral("data/applications/zavo-player.desktop")),
              "[Desktop Entry]\nType=Application\nName=Player\nMimeType=audio/mpeg;\n"
              "Exec=\"" +
                  kPlayer.toUtf8() + "\" " + QByteArray::number(delayMs) + " \"" + keys.toUtf8() +
                  "\"\n");
    writeFile(root.filePath(QStringLiteral("config/mimeapps.list")),
              "[Default Applications]\naudio/mpeg=zavo-player.desktop\n");
    for (const auto& [name, dir] : {std::pair{"XDG_DATA_HOME", "data"},
                                    {"XDG_DATA_DIRS", "sysdata"},
                                    {"XDG_CONFIG_HOME", "config"},
                                    {"XDG_CONFIG_DIRS", "sysconfig"}})
        x.setEnvironmentVariable(QString::fromLatin1(name),
                                 root.filePath(QString::fromLatin1(dir)));

    ZAVO_VERIFY_OK(run.start(root.filePath(QStringLiteral("work"))));
    const quint64 launcher = run.window;
    QTRY_COMPARE_WITH_TIMEOUT(xd.activeWindow(), launcher, 15000);

    // Without a player window, another window that is active when the bound
    // runs out gets the keys.
    QString receiver = keys;
    quint64 witness = 0;
    if (delayMs < 0) {
        receiver = root.filePath(QStringLiteral("witness-keys"));
        x.startProcess(kPlayer, {QStringLiteral("0"), receiver});
        witness = x.waitForWindow(kPlayerTitle);
        QVERIFY2(witness != 0, "the witness window was not mapped");
    }

    const qint64 clickedAt = QDateTime::currentMSecsSinceEpoch();
    if (presses.isEmpty())
        QVERIFY(xd.clickControl(launcher, zavo::forms::LauncherControl::Command1_0));
    for (const QString& key : presses) {
        if (key.startsWith(QLatin1Char('*')))
            QTRY_COMPARE_WITH_TIMEOUT(xd.activeTitle(), key.mid(1), 15000);
        else
            QVERIFY(xd.keys({key}));
    }
    if (witness)
        QVERIFY(xd.activate(witness));

    QTRY_VERIFY_WITH_TIMEOUT(readFile(receiver).contains('\n'), 30000);
    const QList<QByteArray> got = readFile(receiver).trimmed().split(' ');
    QCOMPARE(got.value(0), QByteArray("^p"));
    qInfo("click to Ctrl+P received: %lld ms", got.value(1).toLongLong() - clickedAt);
    QTRY_COMPARE_WITH_TIMEOUT(xd.activeTitle(), kMainTitle, 15000);
    xd.shot(QStringLiteral("e2e_player"));
    QCOMPARE(readFile(receiver).count('\n'), 1); // Ctrl+P alone
    QVERIFY2(!readFile(systemBus).contains("PowerOff"), readFile(systemBus).constData());
}

// The shutdown button keeps its access key; the private bus sees the request.
void TestE2ePlayer::altWAsksForTheShutdown() {
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    const QString systemBus = run.x.recordSystemBus();
    QVERIFY2(!systemBus.isEmpty(), "no private system bus (apt-get install dbus)");
    ZAVO_VERIFY_OK(run.start());
    QTRY_COMPARE_WITH_TIMEOUT(run.xd.activeTitle(), kMainTitle, 15000);
    QVERIFY(run.xd.keys({QStringLiteral("alt+w")}));
    QTRY_VERIFY_WITH_TIMEOUT(readFile(systemBus).contains("member=PowerOff"), 15000);
}

QTEST_GUILESS_MAIN(TestE2ePlayer)
#include "test_e2e_player.moc"
