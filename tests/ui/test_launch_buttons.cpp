// The nine launch buttons of the main window, against the recording fake and
// a settei.ini spelled out byte by byte in a temporary folder.
#include "core/module1.h"
#include "support/fake_services.h"
#include "support/slot_bytes.h"
#include "ui/form.h"
#include "ui/launcher_app.h"
#include "ui/zavo_launcher.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zavo;
using test::recordBytes;
using ui::FormId;
using ui::ZAVO_launcher;

namespace {

const QString kReadError = QStringLiteral("読み取りエラーです");

QByteArray cp932(const char* hex) {
    return QByteArray::fromHex(hex);
}

// Three registered slots; record 2 is Japanese text in code page 932:
// "C:\Program Files\テスト\" and "ソフト.exe".
QByteArray threeSlots() {
    return recordBytes("/opt/one/", "one.exe") +
           recordBytes("C:\\Program Files\\" + cp932("836583588367") + "\\",
                       cp932("835c83748367") + ".exe") +
           recordBytes("/srv/three dir/", "three.exe");
}

// The six fixed command lines, index 0 to 5.
const QStringList kFixed{
    R"(c:\program files\windows media player\wmplayer.exe)",
    R"(c:\program files\internet explorer\iexplore.exe)",
    R"(c:\program files\microsoft reference\bookshelf basic 2.0\bs98jl.exe)",
    R"(c:\program files\jrail\rail95.exe)",
    R"(c:\program files\alpsmap\rdw50\program\pa2001.exe)",
    R"(c:\windows\explorer.exe)",
};

QByteArray blanks() {
    return QByteArray(100, ' ') + QByteArray(100, '\0');
}

// One program run: the fake, Module1 on a private settei.ini, the forms and
// the main window shown.
struct Run {
    explicit Run(const QString& folder)
        : settei(QDir(folder).filePath("settei.ini")), module1(fake, settei.toStdString()),
          forms(fake) {
        ui::registerForms(forms, module1);
    }
    void start() {
        forms.show(FormId::Launcher);
        fake.calls.clear();
    }
    ZAVO_launcher* launcher() const { return forms.loadedAs<ZAVO_launcher>(FormId::Launcher); }
    void click(int index) const { launcher()->Command1(index)->click(); }
    // What the buttons asked of the platform, without the clock's readings.
    QStringList calls() const { return fake.callsWithoutClock(); }
    QString open() const { return "open " + settei; }
    static QString launch(const QString& command, int style) {
        return QStringLiteral("launch %1 %2").arg(command).arg(style);
    }
    static QString readError() { return "msg " + kReadError + " 16"; }

    QString settei;
    test::FakeServices fake;
    core::Module1 module1;
    ui::Forms forms;
};

} // namespace

class TestLaunchButtons : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void launchesItsCommandLine_data();
    void launchesItsCommandLine();
    void mediaPlayerSendsKeysThenTakesFocus();
    void failedFixedLaunchShowsReadError_data();
    void failedFixedLaunchShowsReadError();
    void unregisteredSlotShowsReadError_data();
    void unregisteredSlotShowsReadError();
    void failedSlotLaunchLeavesNextClickWorking();
    void unopenableSetteiShowsReadError();
    void changeBetweenClicksTakesEffect();
    void twoClicksStartTwoProcesses_data();
    void twoClicksStartTwoProcesses();
    void failingKeystrokeShowsReadError();
    void accessKeyPressesFixedButton_data();
    void accessKeyPressesFixedButton();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Run> run_;
};

void TestLaunchButtons::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    run_ = std::make_unique<Run>(dir_->path());
}

void TestLaunchButtons::cleanup() {
    run_.reset();
    dir_.reset();
}

void TestLaunchButtons::launchesItsCommandLine_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("style");

    QTest::newRow("0 media player") << 0 << kFixed[0] << 1;
    QTest::newRow("1 IE, maximized") << 1 << kFixed[1] << 3;
    QTest::newRow("2 BookShelf, maximized") << 2 << kFixed[2] << 3;
    QTest::newRow("3 route finder") << 3 << kFixed[3] << 1;
    QTest::newRow("4 AlpsMap, maximized") << 4 << kFixed[4] << 3;
    QTest::newRow("5 Explorer") << 5 << kFixed[5] << 1;
    QTest::newRow("6 slot 1") << 6 << "/opt/one/one.exe" << 1;
    QTest::newRow("7 slot 2 (code page 932)")
        << 7 << QStringLiteral("C:\\Program Files\\テスト\\ソフト.exe") << 1;
    QTest::newRow("8 slot 3") << 8 << "/srv/three dir/three.exe" << 1;
}

void TestLaunchButtons::launchesItsCommandLine() {
    QFETCH(int, index);
    QFETCH(QString, command);
    QFETCH(int, style);

    test::writeFile(run_->settei, threeSlots());
    run_->start();
    run_->click(index);

    QStringList expected;
    if (index >= 6)
        expected << run_->open();
    expected << Run::launch(command, style);
    if (index == 0)
        expected << "keys ^p wait";
    QCOMPARE(run_->calls(), expected);
    QCOMPARE(run_->fake.launches.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(run_->fake.launches[0].command), command);
    QVERIFY(run_->fake.messages.empty());
    QVERIFY(!run_->module1.settei.is_open());
}

void TestLaunchButtons::mediaPlayerSendsKeysThenTakesFocus() {
    run_->start();
    // Another window holds the focus, as the started player would.
    QWidget player;
    player.setWindowTitle("player");
    player.show();
    player.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &player);

    run_->click(0);
    QCOMPARE(run_->calls(), (QStringList{Run::launch(kFixed[0], 1), "keys ^p wait"}));
    QTRY_COMPARE(QApplication::activeWindow(), run_->launcher());
}

void TestLaunchButtons::failedFixedLaunchShowsReadError_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i <= 5; ++i)
        QTest::addRow("index %d", i) << i;
}

// A program not installed at its path: the message and nothing else; for the
// media player no wait, keystroke or focus change follows.
void TestLaunchButtons::failedFixedLaunchShowsReadError() {
    QFETCH(int, index);
    run_->fake.canLaunch = [](const std::string&) { return false; };
    run_->start();
    run_->click(index);

    const QStringList calls = run_->calls();
    QCOMPARE(calls.size(), 2);
    QVERIFY(calls[0].startsWith("launch "));
    QCOMPARE(calls[1], Run::readError());
    QCOMPARE(run_->fake.messages.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(run_->fake.messages[0].title), QStringLiteral("ZAVO_launcher"));
}

void TestLaunchButtons::unregisteredSlotShowsReadError_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<int>("index");

    QTest::newRow("no settei.ini, slot 1") << QByteArray() << false << 6;
    QTest::newRow("empty settei.ini, slot 3") << QByteArray() << true << 8;
    QTest::newRow("only record 3 written, slot 1")
        << QByteArray(400, '\0') + recordBytes("/opt/", "three.exe") << true << 6;
    const QByteArray reset = blanks() + blanks() + blanks();
    for (int index = 6; index <= 8; ++index)
        QTest::addRow("reset slots, slot %d", index - 5) << reset << true << index;
}

// No registered test precedes the launch: the empty command line fails.
void TestLaunchButtons::unregisteredSlotShowsReadError() {
    QFETCH(QByteArray, file);
    QFETCH(bool, fileExists);
    QFETCH(int, index);

    if (fileExists)
        test::writeFile(run_->settei, file);
    run_->start();
    run_->click(index);

    const QStringList calls = run_->calls();
    QCOMPARE(calls.size(), 3);
    QCOMPARE(calls[0], run_->open());
    QVERIFY(calls[1].startsWith("launch "));
    QCOMPARE(calls[2], Run::readError());
    QCOMPARE(run_->fake.messages.size(), std::size_t(1));
    QCOMPARE(run_->fake.messages[0].style, 16);
    QCOMPARE(QString::fromStdString(run_->fake.messages[0].title), QStringLiteral("ZAVO_launcher"));
    QVERIFY(!run_->module1.settei.is_open());
}

void TestLaunchButtons::failedSlotLaunchLeavesNextClickWorking() {
    // Slot 1 names a program that has gone; slot 2 is fine.
    test::writeFile(run_->settei, recordBytes("/gone/", "old.exe") +
                                      recordBytes("/usr/bin/", "good.exe") + blanks());
    run_->fake.canLaunch = [](const std::string& c) { return c == "/usr/bin/good.exe"; };
    run_->start();

    run_->click(6);
    QCOMPARE(run_->calls(),
             (QStringList{run_->open(), Run::launch("/gone/old.exe", 1), Run::readError()}));
    QVERIFY(!run_->module1.settei.is_open());

    run_->fake.calls.clear();
    run_->click(7);
    QCOMPARE(run_->calls(), (QStringList{run_->open(), Run::launch("/usr/bin/good.exe", 1)}));
    QVERIFY(!run_->module1.settei.is_open());
    QCOMPARE(run_->fake.messages.size(), std::size_t(1));
}

void TestLaunchButtons::unopenableSetteiShowsReadError() {
    test::writeFile(run_->settei, threeSlots());
    run_->start();
    run_->fake.failRecordOpen = true;
    run_->click(6);
    QCOMPARE(run_->calls(), (QStringList{run_->open(), Run::readError()}));
    QVERIFY(run_->fake.launches.empty());

    run_->fake.failRecordOpen = false;
    run_->fake.calls.clear();
    run_->click(6);
    QCOMPARE(run_->calls(), (QStringList{run_->open(), Run::launch("/opt/one/one.exe", 1)}));
}

// The dialog may rewrite settei.ini between two clicks; no copy is kept.
void TestLaunchButtons::changeBetweenClicksTakesEffect() {
    test::writeFile(run_->settei, recordBytes("/opt/first/", "a.exe"));
    run_->start();
    run_->click(6);
    test::writeFile(run_->settei, recordBytes("/opt/second/", "b.exe"));
    run_->click(6);

    QCOMPARE(run_->fake.launches.size(), std::size_t(2));
    QCOMPARE(run_->fake.launches[0].command, std::string("/opt/first/a.exe"));
    QCOMPARE(run_->fake.launches[1].command, std::string("/opt/second/b.exe"));
}

void TestLaunchButtons::twoClicksStartTwoProcesses_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("media player") << 0;
    QTest::newRow("IE") << 1;
    QTest::newRow("slot 3") << 8;
}

void TestLaunchButtons::twoClicksStartTwoProcesses() {
    QFETCH(int, index);
    test::writeFile(run_->settei, threeSlots());
    run_->start();
    run_->click(index);
    run_->click(index);

    QCOMPARE(run_->fake.launches.size(), std::size_t(2));
    QCOMPARE(run_->fake.launches[1].command, run_->fake.launches[0].command);
    QVERIFY(run_->fake.messages.empty());
}

void TestLaunchButtons::failingKeystrokeShowsReadError() {
    run_->fake.keysSucceed = false;
    run_->start();
    run_->click(0);
    QCOMPARE(run_->calls(),
             (QStringList{Run::launch(kFixed[0], 1), "keys ^p wait", Run::readError()}));
}

void TestLaunchButtons::accessKeyPressesFixedButton_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("index");
    const QList<std::pair<Qt::Key, int>> keys{{Qt::Key_M, 0}, {Qt::Key_I, 1}, {Qt::Key_S, 2},
                                              {Qt::Key_N, 3}, {Qt::Key_A, 4}, {Qt::Key_E, 5}};
    for (const auto& [key, index] : keys)
        QTest::addRow("Alt+%c", char(key)) << int(key) << index;
}

void TestLaunchButtons::accessKeyPressesFixedButton() {
    QFETCH(int, key);
    QFETCH(int, index);
    run_->start();
    run_->launcher()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), run_->launcher());

    // A mnemonic animates the button and clicks it once the animation ends.
    QTest::keyClick(run_->launcher(), Qt::Key(key), Qt::AltModifier);
    QTRY_COMPARE(run_->fake.launches.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(run_->fake.launches[0].command), kFixed[index]);
}

QTEST_MAIN(TestLaunchButtons)
#include "test_launch_buttons.moc"
