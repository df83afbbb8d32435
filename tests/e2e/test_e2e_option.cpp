// Registering a program through the dialog of the real binary, under a private
// Xvfb with openbox, and starting it from its slot button afterwards.
#include "support/report_script.h"
#include "support/sheets.h"
#include "support/slot_bytes.h"
#include "support/x_driver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <tuple>

#include <pwd.h>
#include <unistd.h>

using zavo::forms::LauncherControl;
using namespace zavo::test;

class TestE2eOption : public QObject {
    Q_OBJECT
private slots:
    void registerThenLaunch();
    void menuStartOpensOnHome();
    void strayKeysKeepTheSlots();
    void loadErrorOwnedByTheDialog();
};

namespace {

// From the control that holds the focus when the dialog opens (touroku, the
// first tab stop) to dir_name: Cancel_but, dir_name.
constexpr int kTabsToFolderList = 2;

} // namespace

void TestE2eOption::registerThenLaunch() {
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    auto [x, xd] = std::tie(run.x, run.xd);
    if (QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
        QSKIP("import (imagemagick) is not installed");

    QVERIFY(QDir(run.work.path()).mkpath(QStringLiteral("apps")));
    // A program as Linux knows one: executable, no extension. It reports the
    // folder it was started in.
    const QString marker = run.file(QStringLiteral("started"));
    writeProgram(run.file(QStringLiteral("apps/hello")), reportingScript(marker, "\"$(pwd -P)\""));
    // Files that are no programs, sorted after it: listed, they would be the
    // last row.
    writeFile(run.file(QStringLiteral("apps/notes.txt")), "notes\n");
    writeFile(run.file(QStringLiteral("apps/readme")), "#!/bin/sh\n");

    ZAVO_VERIFY_OK(run.start());
    ZAVO_VERIFY_OK(run.openDialog(false));
    const quint64 dialog = run.dialog;
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kMainTitle).isEmpty(), 10000);
    QVERIFY(xd.activate(dialog));
    QCOMPARE(xd.place(dialog).size(), QSize(455, 196));
    // The whole window, frame included, centred on the 1280 x 1024 screen.
    const QList<quint64> extents = xd.numbers(dialog, QStringLiteral("_NET_FRAME_EXTENTS"));
    QCOMPARE(extents.size(), 4); // left, right, top, bottom
    const int left = int(extents[0]), right = int(extents[1]);
    const int top = int(extents[2]), bottom = int(extents[3]);
    QVERIFY(top > 0);
    QTRY_COMPARE_WITH_TIMEOUT(x.geometry(dialog).x - left, (1280 - (455 + left + right)) / 2, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(x.geometry(dialog).y - top, (1024 - (196 + top + bottom)) / 2, 5000);
    // Motif hints (flags, functions, decorations, ...): neither minimize nor
    // maximize among the functions (0x08, 0x10) or decorations (0x20, 0x40).
    const QList<quint64> mwm = xd.numbers(dialog, QStringLiteral("_MOTIF_WM_HINTS"));
    QVERIFY2(mwm.size() >= 3, qPrintable(x.property(dialog, QStringLiteral("_MOTIF_WM_HINTS"))));
    QCOMPARE(mwm[1] & 0x18u, 0u);
    QCOMPARE(mwm[2] & 0x60u, 0u);

    // By keyboard alone: by the tab order into the folder list, down to its
    // last row (the only subfolder, apps), open it; on to the file list, its
    // last row, selected; on to the slot buttons, slot 2; register.
    QVERIFY(xd.keys(
        QStringList(kTabsToFolderList, QStringLiteral("Tab")) +
            QStringList{"End", "Return", "Tab", "Tab", "End", "space", "Tab", "Right", "alt+t"},
        50));

    const QByteArray expected =
        QByteArray(200, '\0') + recordBytes(QFile::encodeName(run.file("apps") + "/"), "hello");
    const QString settei = run.file(QStringLiteral("settei.ini"));
    QTRY_COMPARE_WITH_TIMEOUT(readFile(settei), expected, 10000);

    QVERIFY(QFileInfo(xd.shot(QStringLiteral("option_dialog"), dialog)).size() > 0);
    ZAVO_VERIFY_OK(run.returnToMain());

    // Slot 2 is Command1(7).
    QVERIFY(!QFileInfo::exists(marker));
    QVERIFY(xd.clickControl(run.window, LauncherControl::Command1_7, true));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marker), 10000);
    // In the launcher's working folder, which no hidden folder of the home
    // folder holds.
    QCOMPARE(readReport(marker), QStringList{QFileInfo(run.work.path()).canonicalFilePath()});
}

// As the menu's start script starts it: in the configuration folder of the
// home folder. Run in a private mount namespace whose home folder is a
// scratch folder, so the user's own is never touched.
void TestE2eOption::menuStartOpensOnHome() {
    const passwd* user = ::getpwuid(::getuid());
    QVERIFY(user && user->pw_dir);
    const QString home = QFileInfo(QString::fromLocal8Bit(user->pw_dir)).canonicalFilePath();
    if (home.isEmpty() || home == QLatin1String("/"))
        QSKIP("no home folder of our own");
    if (QProcess::execute(QStringLiteral("unshare"), {"-m", "true"}) != 0)
        QSKIP("no private mount namespace here (unshare -m needs root)");
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    auto [x, xd] = std::tie(run.x, run.xd);
    const QDir fakeHome(run.work.path());
    for (const char* dir : {".config/zavo_launcher", ".local/bin", ".cache"})
        QVERIFY(fakeHome.mkpath(QString::fromLatin1(dir)));
    // A program in the home folder that says where it was started, and a
    // file sorted after it that is none.
    const QString program = fakeHome.filePath(QStringLiteral("tool"));
    const QString out = program + QStringLiteral(".out");
    writeProgram(program, reportingScript(out, "\"$(pwd -P)\""));
    writeFile(fakeHome.filePath(QStringLiteral("zz-notes")), "notes\n");

    x.startProcess(QStringLiteral("unshare"),
                   {"-m", "sh", "-c",
                    "mount --make-rprivate / && mount --bind \"$1\" \"$2\" && "
                    "cd \"$2/.config/zavo_launcher\" && exec \"$3\"",
                    "sh", run.work.path(), home, XSession::launcherPath()});
    run.window = x.waitForWindow(kMainTitle);
    QVERIFY2(run.window != 0, qPrintable(x.whyNoWindow(kMainTitle)));
    const QString opened = run.openDialog();
    QVERIFY2(opened.isEmpty(), qPrintable(opened + u'\n' + x.whyNoWindow(kDialogTitle)));

    // The lists stand on the home folder: its one program is the file
    // list's last row. Registered into slot 1.
    QVERIFY(xd.keys(QStringList(kTabsToFolderList + 2, QStringLiteral("Tab")) +
                        QStringList{"End", "space", "Tab", "alt+t"},
                    50));
    const QString settei = fakeHome.filePath(QStringLiteral(".config/zavo_launcher/settei.ini"));
    const QByteArray expected = recordBytes(QFile::encodeName(home) + "/", "tool");
    QTRY_COMPARE_WITH_TIMEOUT(readFile(settei), expected, 10000);
    QVERIFY(!QFileInfo::exists(fakeHome.filePath(QStringLiteral("settei.ini"))));

    QVERIFY(!xd.shot(QStringLiteral("option_dialog_menu_start"), run.dialog).isEmpty());

    // Back in the main window, slot 1 (Command1(6)) starts the program in
    // the home folder.
    ZAVO_VERIFY_OK(run.returnToMain());
    QVERIFY(xd.clickControl(run.window, LauncherControl::Command1_6, true));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(out), 10000);
    QCOMPARE(readReport(out), QStringList{home});
}

// The dialog opens on touroku and the reset question answers No to Enter, so
// stray Enter presses never wipe the slots; Alt+S, Alt+Y still does. In a
// Japanese session the question's buttons are Japanese (the screenshot).
void TestE2eOption::strayKeysKeepTheSlots() {
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    auto [x, xd] = std::tie(run.x, run.xd);
    if (!x.useJapaneseLocale())
        QSKIP("localedef cannot make ja_JP.UTF-8 (apt-get install locales)");
    const QString settei = run.file(QStringLiteral("settei.ini"));
    const QByteArray before =
        recordBytes("/opt/a/", "first.exe") + recordBytes("/opt/b/", "second.exe");
    writeFile(settei, before);
    ZAVO_VERIFY_OK(run.start());
    ZAVO_VERIFY_OK(run.openDialog());
    // The launcher is unloaded meanwhile: a window of its title is a message box.
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kMainTitle).isEmpty(), 10000);
    const auto answer = [&](const QStringList& open, const QStringList& close,
                            const char* shot = nullptr) {
        if (!xd.keys(open, 50) || !x.waitForWindow(kMainTitle))
            return false;
        if (shot)
            xd.shot(QString::fromLatin1(shot));
        if (!xd.keys(close, 50))
            return false;
        return QTest::qWaitFor([&] { return x.windows(kMainTitle).isEmpty(); }, 10000);
    };
    // Enter on touroku with no file chosen: the refusal; Enter closes it.
    QVERIFY(answer({"Return"}, {"Return"}, "option_refusal"));
    QCOMPARE(readFile(settei), before);
    QVERIFY(answer({"alt+s"}, {"Return"}, "option_reset_question"));
    QCOMPARE(readFile(settei), before);
    QVERIFY(answer({"alt+s"}, {"alt+y"}));
    const QByteArray blank = recordBytes("", "");
    QTRY_COMPARE_WITH_TIMEOUT(readFile(settei), blank + blank + blank, 10000);
}

// A settei.ini that cannot be read (a folder of that name): the dialog comes
// up first, then the message, as a window of the dialog's.
void TestE2eOption::loadErrorOwnedByTheDialog() {
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    QVERIFY(QDir(run.work.path()).mkdir(QStringLiteral("settei.ini")));
    ZAVO_VERIFY_OK(run.start());
    ZAVO_VERIFY_OK(run.openDialog(false));
    XSession& x = run.x;
    const quint64 dialog = run.dialog;
    // The launcher is unloaded: a window of its title is the message.
    const auto ownedMessage = [&] {
        for (const quint64 w : x.windows(kMainTitle))
            if (x.property(w, QStringLiteral("WM_TRANSIENT_FOR"))
                    .contains(QStringLiteral("0x%1").arg(dialog, 0, 16)))
                return true;
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(ownedMessage(), 10000);
    run.xd.shot(QStringLiteral("option_load_error"));
}

QTEST_GUILESS_MAIN(TestE2eOption)
#include "test_e2e_option.moc"
