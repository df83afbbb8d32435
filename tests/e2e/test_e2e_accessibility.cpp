// What a screen reader reads from the real binary: its accessibility tree over
// AT-SPI, under a private Xvfb with openbox and private session and AT-SPI
// buses. Every control must be read as the text it shows (without the
// access-key ampersand), also after the registration dialog changed it; the
// dialog's lists by their names, its option buttons as one group, each tied
// to the label of its slot. Orca, where installed, says so in its speech.
#include "a11y_bus.h"
#include "atspi_tree.h"
#include "support/report_script.h"
#include "support/sheets.h"
#include "support/slot_bytes.h"
#include "support/x_driver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <optional>
#include <span>
#include <tuple>

using zavo::forms::LauncherControl;
using zavo::forms::OptionControl;
using namespace zavo::test;

class TestE2eAccessibility : public QObject {
    Q_OBJECT
private slots:
    void screenReaderReadsTheShownText();
    void strayPropertyCallsLeaveItReadable();
    void orcaNamesEachListInOneTabRound();
};

namespace {

const QString kApp = QStringLiteral("ZAVO_launcher");
const QString kButton = QStringLiteral("push button");
const QString kLabel = QStringLiteral("label");

// Controls are found by role and by their place within their parent on the
// design sheet: Qt 6.4 does not hand the object name to AT-SPI, and finding
// them by name would take for granted what is tested.
struct Control {
    const char* name; // for messages
    const QString role;
    QRect pixels;
};

const Control kSlotButtons[] = {
    {"Command1_6", kButton, designRect(LauncherControl::Command1_6)},
    {"Command1_7", kButton, designRect(LauncherControl::Command1_7)},
    {"Command1_8", kButton, designRect(LauncherControl::Command1_8)},
};
// Within the frame Frame2 of the dialog.
const Control kSlotLabels[] = {
    {"Label1", kLabel, designRect(OptionControl::Label1)},
    {"Label2", kLabel, designRect(OptionControl::Label2)},
    {"Label3", kLabel, designRect(OptionControl::Label3)},
};
const Control kTimeDisplay = {"time_display", kLabel, designRect(LauncherControl::time_display)};
// The dialog's lists, which show no caption of their own.
const Control kLists[] = {
    {"Drv_name", QStringLiteral("combo box"), designRect(OptionControl::Drv_name)},
    {"dir_name", QStringLiteral("list"), designRect(OptionControl::dir_name)},
    {"File_name", QStringLiteral("list"), designRect(OptionControl::File_name)},
};
const QString kSlotOptionNames[] = {QStringLiteral("ボタン１"), QStringLiteral("ボタン２"),
                                    QStringLiteral("ボタン３")};
const QString kSlotFrame = QStringLiteral("ボタン番号選択");

std::optional<A11yNode> tree(XSession& x, const AccessibilityBus& bus) {
    return readA11yTree(x, bus.python(), kApp);
}

QStringList names(XSession& x, const AccessibilityBus& bus, std::span<const Control> controls) {
    const std::optional<A11yNode> root = tree(x, bus);
    QStringList out;
    for (const Control& c : controls) {
        const QString name = root ? nameAt(*root, c.role, c.pixels) : QString();
        out << (name.isNull() ? QStringLiteral("<%1 not found>").arg(QLatin1String(c.name)) : name);
    }
    return out;
}

const A11yNode* find(const A11yNode& root, const QString& role, const QString& name) {
    for (const A11yNode& child : root.children) {
        if (child.role == role && child.name == name)
            return &child;
        if (const A11yNode* found = find(child, role, name))
            return found;
    }
    return nullptr;
}

// What a screen reader tells of the dialog beyond its captions, a line a
// control: each list's name (a combo box's from the label that labels it),
// and for each slot its option button's place in its group (counted as
// readers count member-of targets, last first), the labels that label it (the
// group's name first) and its description, and whom the slot label labels.
QStringList dialogAsRead(XSession& x, const AccessibilityBus& bus) {
    const std::optional<A11yNode> root = tree(x, bus);
    if (!root)
        return {QStringLiteral("<no tree>")};
    QStringList read;
    for (const Control& list : kLists) {
        const A11yNode* n = nodeAt(*root, list.role, list.pixels);
        QString name = QStringLiteral("<not found>");
        if (n)
            name = n->related("labelled-by").isEmpty() ? n->name
                                                       : n->related("labelled-by").join(u',');
        read << QLatin1String(list.name) + QStringLiteral(": ") + name;
    }
    for (int slot = 0; slot < 3; ++slot) {
        const A11yNode* option =
            find(*root, QStringLiteral("radio button"), kSlotOptionNames[slot]);
        const A11yNode* label = nodeAt(*root, kSlotLabels[slot].role, kSlotLabels[slot].pixels);
        if (!option || !label) {
            read << QStringLiteral("<slot %1 not found>").arg(slot + 1);
            continue;
        }
        const QStringList group = option->related("member-of");
        const auto at = group.indexOf(option->name);
        read << QStringLiteral("%1: %2 of %3; labelled by %4; described as %5; %6 labels %7")
                    .arg(option->name)
                    .arg(at < 0 ? 0 : group.size() - at)
                    .arg(group.size())
                    .arg(option->related("labelled-by").join(u','), option->description,
                         label->name, label->related("label-for").join(u','));
    }
    return read;
}

// The dialog as dialogAsRead() should find it, on `folder` with slot labels
// `labels`.
QStringList dialogExpected(const QString& folder, const QString& files, const QStringList& labels) {
    QStringList read = {QStringLiteral("Drv_name: ドライブ"),
                        QStringLiteral("dir_name: フォルダ ") + folder,
                        QStringLiteral("File_name: ") + files};
    for (int slot = 0; slot < 3; ++slot)
        read << QStringLiteral("%1: %2 of 3; labelled by %3,%4; described as %4; %4 labels %1")
                    .arg(kSlotOptionNames[slot])
                    .arg(slot + 1)
                    .arg(kSlotFrame, labels[slot]);
    return read;
}

QString clockText(XSession& x, const AccessibilityBus& bus) {
    const std::optional<A11yNode> root = tree(x, bus);
    return root ? nameAt(*root, kTimeDisplay.role, kTimeDisplay.pixels) : QString();
}

} // namespace

void TestE2eAccessibility::screenReaderReadsTheShownText() {
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    auto [x, xd] = std::tie(run.x, run.xd);
    AccessibilityBus bus(x);
    ZAVO_REQUIRE_A11Y_BUS(bus);
    if (QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
        QSKIP("import (imagemagick) is not installed");

    // Slot 1 longer than a caption and wider than its button (漢字プログラム名
    // .exe, 12 characters in 20 bytes: drawn on two lines), slot 2 with a
    // leading blank, slot 3 Japanese in code page 932 (メモ帳.exe: 7
    // characters in 10 bytes).
    const QString settei = run.file(QStringLiteral("settei.ini"));
    writeFile(settei, recordBytes("/opt/tools/", "\x8a\xbf\x8e\x9a\x83\x76\x83\x8d\x83\x4f"
                                                 "\x83\x89\x83\x80\x96\xbc.exe") +
                          recordBytes("/opt/tools/", " calc.exe") +
                          recordBytes("/opt/tools/", "\x83\x81\x83\x82\x92\xa0.exe"));
    QVERIFY(QDir(run.work.path()).mkpath(QStringLiteral("apps")));
    writeProgram(run.file(QStringLiteral("apps/tool.exe")), "#!/bin/sh\n");

    // The first ten characters of exe_name with their padding, as the
    // buttons and labels show them.
    const QStringList stored = {QStringLiteral("漢字プログラム名.e"), QStringLiteral(" calc.exe "),
                                QStringLiteral("メモ帳.exe   ")};
    const QStringList registered = {stored[0], QStringLiteral("tool.exe  "), stored[2]};

    // A Japanese desktop.
    if (!x.useJapaneseLocale())
        QSKIP("localedef cannot make ja_JP.UTF-8 (apt-get install locales)");
    ZAVO_VERIFY_OK(run.start());
    QTRY_COMPARE_WITH_TIMEOUT(names(x, bus, kSlotButtons), stored, 30000);

    // The clock label reads its current text: not empty, and it moves on.
    QTRY_VERIFY_WITH_TIMEOUT(!clockText(x, bus).isEmpty(), 10000);
    const QString clock = clockText(x, bus);
    const QRegularExpression japaneseClock(QStringLiteral(
        "^\\d{4}/\\d{2}/\\d{2} （[日月火水木金土]） (1?\\d|2[0-3]):[0-5]\\d:[0-5]\\d$"));
    QVERIFY2(japaneseClock.match(clock).hasMatch(), qPrintable(clock));
    const auto ticked = [&] {
        const QString now = clockText(x, bus);
        return !now.isEmpty() && now != clock;
    };
    QTRY_VERIFY_WITH_TIMEOUT(ticked(), 10000);

    // Register tool.exe in slot 2 by keyboard: into the folder list, to its
    // last row (apps), open it; by the tab order to the file list, select the
    // file, on to the slot buttons, slot 2, register.
    ZAVO_VERIFY_OK(run.openDialog());
    QTRY_COMPARE_WITH_TIMEOUT(names(x, bus, kSlotLabels), stored, 30000);
    // It opens on the launcher's folder, which holds no program.
    const QString here = QFileInfo(run.work.path()).canonicalFilePath();
    QCOMPARE(dialogAsRead(x, bus),
             dialogExpected(here, QStringLiteral("ファイルがありません"), stored));
    QVERIFY(xd.click(xd.place(run.dialog).topLeft() + designRect(OptionControl::dir_name).center(),
                     true));
    QVERIFY(xd.keys({"End", "Return", "Tab", "Tab", "space", "Tab", "Right", "alt+t"}, 50));
    QTRY_VERIFY_WITH_TIMEOUT(
        readFile(settei).mid(200 + 80, 20) == QByteArray("tool.exe").leftJustified(20, ' '), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(names(x, bus, kSlotLabels), registered, 30000);
    QCOMPARE(dialogAsRead(x, bus), dialogExpected(here + QStringLiteral("/apps"),
                                                  QStringLiteral("ファイル"), registered));

    // Back in the reloaded main window the slot buttons read the new caption.
    ZAVO_VERIFY_OK(run.returnToMain());
    QTRY_COMPARE_WITH_TIMEOUT(names(x, bus, kSlotButtons), registered, 30000);
    QVERIFY(!xd.shot(QStringLiteral("e2e_accessibility")).isEmpty());

    // The About window's picture is read by its name.
    QVERIFY(xd.activate(run.window));
    QVERIFY(xd.keys({"alt+h", "i"}, 50));
    QVERIFY2(x.waitForWindow(kAboutTitle) != 0, "alt+h, i opened no About window");
    const Control picture = {"Picture1", QStringLiteral("image"),
                             designRect(zavo::forms::AboutControl::Picture1)};
    QTRY_COMPARE_WITH_TIMEOUT(names(x, bus, {&picture, 1}), QStringList{"ロケットの絵"}, 30000);
}

// Calls that any process on the AT-SPI bus may make, some of them malformed:
// each is answered (an error is an answer) and the launcher goes on serving
// the screen reader.
void TestE2eAccessibility::strayPropertyCallsLeaveItReadable() {
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    XSession& x = run.x;
    AccessibilityBus bus(x);
    ZAVO_REQUIRE_A11Y_BUS(bus);
    const QString gdbus = QStandardPaths::findExecutable(QStringLiteral("gdbus"));
    if (gdbus.isEmpty())
        QSKIP("gdbus (libglib2.0-bin) is not installed");

    ZAVO_VERIFY_OK(run.start());
    const QProcess* launcher = run.launcher;
    const QStringList design = {QStringLiteral("１：未登録"), QStringLiteral("２：未登録"),
                                QStringLiteral("３：未登録")};
    QTRY_COMPARE_WITH_TIMEOUT(names(x, bus, kSlotButtons), design, 30000);
    QString app;
    QTRY_VERIFY_WITH_TIMEOUT(!(app = bus.applicationBusName(launcher->processId())).isEmpty(),
                             10000);

    const auto call = [&](const QString& path, const QString& method, const QStringList& args,
                          QString* out = nullptr) {
        return x.run(gdbus,
                     QStringList{"call", "--address", bus.atspiAddress(), "--dest", app,
                                 "--object-path", path, "--timeout", "10", "--method", method} +
                         args,
                     out);
    };
    const QString root = QStringLiteral("/org/a11y/atspi/accessible/root");
    QString out;
    QCOMPARE(call(root, "org.a11y.atspi.Accessible.GetChildAtIndex", {"0"}, &out), 0);
    const QString child = QRegularExpression(QStringLiteral("'(/org/a11y/atspi/accessible/[^']+)'"))
                              .match(out)
                              .captured(1);
    QVERIFY2(!child.isEmpty(), qPrintable(out));

    const QString properties = QStringLiteral("org.freedesktop.DBus.Properties.");
    const QString accessible = QStringLiteral("org.a11y.atspi.Accessible");
    const QList<QStringList> strayCalls = {
        {"GetAll", accessible},      {"GetAll"}, {"Get", accessible}, {"Get"}, {"Get", "1", "2"},
        {"Set", accessible, "Name"}, {"Set"},
    };
    for (const QString& path : {root, child}) {
        for (const QStringList& stray : strayCalls) {
            const QString what = path + u' ' + stray.join(u' ');
            // Answered with an error (GetAll, missing arguments) or as an
            // unknown interface ("1"): an error either way.
            QVERIFY2(call(path, properties + stray.first(), stray.mid(1)) != 0, qPrintable(what));
            // The call a screen reader makes still gets its answer.
            QVERIFY2(call(path, properties + "Get", {accessible, "Name"}, &out) == 0,
                     qPrintable(what));
            QVERIFY2(launcher->state() == QProcess::Running, qPrintable(what));
        }
    }
    QCOMPARE(names(x, bus, kSlotButtons), design);
}

// One Tab round of the dialog as Orca speaks it: every list by its name, the
// option buttons by their group; Orca's where-am-I tells the place in it.
// Orca runs with its own preferences and without braille or a speech server,
// and logs what it would say.
void TestE2eAccessibility::orcaNamesEachListInOneTabRound() {
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    auto [x, xd] = std::tie(run.x, run.xd);
    if (QStandardPaths::findExecutable(QStringLiteral("orca")).isEmpty())
        QSKIP("orca is not installed");
    AccessibilityBus bus(x);
    ZAVO_REQUIRE_A11Y_BUS(bus);

    ZAVO_VERIFY_OK(run.start());
    ZAVO_VERIFY_OK(run.openDialog());
    const QString unregistered = QStringLiteral("未登録");
    QTRY_COMPARE_WITH_TIMEOUT(names(x, bus, kSlotLabels),
                              QStringList({unregistered, unregistered, unregistered}), 30000);
    const QString here = QFileInfo(run.work.path()).canonicalFilePath();

    const QString home = x.runtimeDir() + QStringLiteral("/home");
    const QString prefs = x.runtimeDir() + QStringLiteral("/orca");
    QVERIFY(QDir().mkpath(home) && QDir().mkpath(prefs));
    const QString log = x.runtimeDir() + QStringLiteral("/orca-speech.log");
    x.setEnvironmentVariable(QStringLiteral("HOME"), home);
    x.setEnvironmentVariable(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    x.setEnvironmentVariable(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
    // No Speech Dispatcher may be started for it.
    x.setEnvironmentVariable(QStringLiteral("SPEECHD_CMD"),
                             x.runtimeDir() + QStringLiteral("/none"));
    x.startProcess(bus.python(), {QStringLiteral(ZAVO_ORCA_SPEECH_SCRIPT), log, prefs});
    const auto spoken = [&log] {
        QFile f(log);
        QStringList said;
        if (!f.open(QIODevice::ReadOnly))
            return said;
        // Orca 43 writes the voice right after the text ("'...'{"), Orca 48
        // after a blank ("'...' {").
        const QRegularExpression line(QStringLiteral("SPEECH OUTPUT: '(.*?)'\\s*(\\{|$)"));
        for (const QByteArray& l : f.readAll().split('\n'))
            if (const auto m = line.match(QString::fromUtf8(l)); m.hasMatch())
                said << m.captured(1);
        return said;
    };
    const auto logTail = [&log] {
        QFile f(log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll().right(3000))
                                           : QStringLiteral("no log at ") + log;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(!spoken().filter(kDialogTitle).isEmpty(), qPrintable(logTail()),
                              60000);
    // Orca 48 speaks the dialog before it listens to object events, and Qt
    // sends only events somebody listens to: a Tab before then goes unheard.
    QTRY_VERIFY2_WITH_TIMEOUT(
        bus.registeredEvents().contains(QStringLiteral("Object:StateChanged:Focused")),
        qPrintable(logTail()), 60000);

    // From touroku, where the focus starts, round to it again (reset is
    // no tab stop). Each key, and words Orca says after it: our names, not
    // its own role words, which differ between its versions.
    const auto hears = [&](const QString& key, const QString& words) {
        const qsizetype before = spoken().size();
        if (!xd.keys({key}, 50))
            return QStringLiteral("xdotool could not press ") + key;
        const auto said = [&] { return !spoken().mid(before).filter(words).isEmpty(); };
        if (!QTest::qWaitFor(said, 30000))
            return key + QStringLiteral(": no \"") + words + QStringLiteral("\" in:\n") +
                   spoken().mid(before).join(u'\n');
        return QString();
    };
    const std::pair<const char*, QString> round[] = {
        {"Tab", QStringLiteral("戻る(R)")},
        {"Tab", QStringLiteral("フォルダ ") + here},
        {"Tab", QStringLiteral("ドライブ")},
        {"Tab", QStringLiteral("ファイルがありません")},
        {"Tab", QStringLiteral("ボタン番号選択")},
        {"Tab", QStringLiteral("登録(T)")},
        // Back to slot 1 and where am I: its place in the group.
        {"shift+Tab", QStringLiteral("ボタン１")},
        {"KP_Enter", QStringLiteral("1 of 3")},
    };
    for (const auto& [key, words] : round) {
        const QString missed = hears(QLatin1String(key), words);
        QVERIFY2(missed.isEmpty(), qPrintable(missed));
    }
}

QTEST_GUILESS_MAIN(TestE2eAccessibility)
#include "test_e2e_accessibility.moc"
