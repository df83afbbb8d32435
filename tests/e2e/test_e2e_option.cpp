// Registering a program through the dialog of the real binary, under a private
// Xvfb with openbox, and starting it from its slot button afterwards.
#include "support/sheets.h"
#include "support/slot_bytes.h"
#include "support/x_driver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

using zavo::test::kDialogTitle;
using zavo::test::kMainTitle;
using zavo::test::XDriver;
using zavo::test::XGeometry;
using zavo::test::XSession;

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

// Opens the registration dialog from the main window by its menu key.
quint64 openDialog(XSession& x) {
    XDriver xd(x);
    const quint64 launcher = x.waitForWindow(kMainTitle);
    if (!launcher || !xd.activate(launcher) || !xd.keys({"alt+o"}, 50))
        return 0;
    const quint64 dialog = x.waitForWindow(kDialogTitle);
    return dialog && xd.activate(dialog) ? dialog : 0;
}

} // namespace

void TestE2eOption::registerThenLaunch() {
    XSession x;
    XDriver xd(x);
    ZAVO_REQUIRE_X_SESSION(x);
    if (QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
        QSKIP("import (imagemagick) is not installed");

    QTemporaryDir work;
    QVERIFY(work.isValid());
    QVERIFY(QDir(work.path()).mkpath(QStringLiteral("apps")));
    // A program as Linux knows one: executable, no extension. It reports the
    // folder it was started in.
    const QString marker = work.filePath(QStringLiteral("started"));
    const QString program = work.filePath(QStringLiteral("apps/hello"));
    zavo::test::writeFile(program, "#!/bin/sh\npwd -P > '" + marker.toUtf8() + ".tmp' && mv '" +
                                       marker.toUtf8() + ".tmp' '" + marker.toUtf8() + "'\n");
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    // Files that are no programs, sorted after it: listed, they would be the
    // last row.
    zavo::test::writeFile(work.filePath(QStringLiteral("apps/notes.txt")), "notes\n");
    zavo::test::writeFile(work.filePath(QStringLiteral("apps/readme")), "#!/bin/sh\n");

    x.startLauncher(work.path());
    quint64 launcher = x.waitForWindow(kMainTitle);
    QVERIFY2(launcher != 0, "no window titled ZAVO_launcher was mapped");
    QVERIFY(xd.activate(launcher));
    QVERIFY(xd.keys({"alt+o"}, 50));

    const quint64 dialog = x.waitForWindow(kDialogTitle);
    QVERIFY2(dialog != 0, "alt+o opened no registration dialog");
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kMainTitle).isEmpty(), 10000);
    QVERIFY(xd.activate(dialog));
    XGeometry d = x.geometry(dialog);
    QCOMPARE(d.width, 455);
    QCOMPARE(d.height, 196);
    // The whole window, frame included, centred on the 1280 x 1024 screen.
    const QStringList extents = x.property(dialog, QStringLiteral("_NET_FRAME_EXTENTS"))
                                    .section(QLatin1Char('='), 1)
                                    .split(QLatin1Char(','));
    QCOMPARE(extents.size(), 4); // left, right, top, bottom
    const int left = extents[0].toInt(), right = extents[1].toInt();
    const int top = extents[2].toInt(), bottom = extents[3].toInt();
    QVERIFY(top > 0);
    QTRY_COMPARE_WITH_TIMEOUT(x.geometry(dialog).x - left, (1280 - (455 + left + right)) / 2, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(x.geometry(dialog).y - top, (1024 - (196 + top + bottom)) / 2, 5000);
    d = x.geometry(dialog);
    // Motif hints (flags, functions, decorations, ...): neither minimize nor
    // maximize among the functions (0x08, 0x10) or decorations (0x20, 0x40).
    const QStringList mwm = x.property(dialog, QStringLiteral("_MOTIF_WM_HINTS"))
                                .section(QLatin1Char('='), 1)
                                .split(QLatin1Char(','));
    QVERIFY2(mwm.size() >= 3, qPrintable(mwm.join(',')));
    QCOMPARE(mwm[1].trimmed().toUInt(nullptr, 16) & 0x18u, 0u);
    QCOMPARE(mwm[2].trimmed().toUInt(nullptr, 16) & 0x60u, 0u);

    // By keyboard alone: by the tab order into the folder list, down to its
    // last row (the only subfolder, apps), open it; on to the file list, its
    // last row, selected; on to the slot buttons, slot 2; register.
    QVERIFY(xd.keys(
        QStringList(kTabsToFolderList, QStringLiteral("Tab")) +
            QStringList{"End", "Return", "Tab", "Tab", "End", "space", "Tab", "Right", "alt+t"},
        50));

    const QByteArray expected =
        QByteArray(200, '\0') +
        zavo::test::recordBytes(QFile::encodeName(work.filePath("apps") + "/"), "hello");
    const QString settei = work.filePath(QStringLiteral("settei.ini"));
    QTRY_COMPARE_WITH_TIMEOUT(zavo::test::readFile(settei), expected, 10000);

    const QString shot = QStringLiteral(ZAVO_SCREENSHOT_DIR "/option_dialog.png");
    QFile::remove(shot);
    QCOMPARE(
        x.run(QStringLiteral("import"), {QStringLiteral("-window"), QString::number(dialog), shot}),
        0);
    QVERIFY(QFileInfo(shot).size() > 0);

    QVERIFY(xd.keys({"alt+r"}, 50));
    launcher = x.waitForWindow(kMainTitle);
    QVERIFY2(launcher != 0, "alt+r did not bring the main window back");
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kDialogTitle).isEmpty(), 10000);

    // Slot 2 is Command1(7): 1680, 1320 twips in the design area below the
    // menu bar, 1335 x 495 twips large.
    const XGeometry g = x.geometry(launcher);
    const int menu = g.height - 182;
    QVERIFY(!QFileInfo::exists(marker));
    QVERIFY(xd.click(QPoint(g.x + 112 + 44, g.y + menu + 88 + 16), true));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marker), 10000);
    // In the launcher's working folder, which no hidden folder of the home
    // folder holds.
    QCOMPARE(zavo::test::readFile(marker).trimmed(),
             QFileInfo(work.path()).canonicalFilePath().toUtf8());
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
    XSession x;
    XDriver xd(x);
    ZAVO_REQUIRE_X_SESSION(x);

    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QDir fakeHome(scratch.path());
    QVERIFY(fakeHome.mkpath(QStringLiteral(".config/zavo_launcher")));
    QVERIFY(fakeHome.mkpath(QStringLiteral(".local/bin")));
    QVERIFY(fakeHome.mkpath(QStringLiteral(".cache")));
    // A program in the home folder that says where it was started, and a
    // file sorted after it that is none.
    const QString program = fakeHome.filePath(QStringLiteral("tool"));
    zavo::test::writeFile(program, "#!/bin/sh\npwd -P > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    zavo::test::writeFile(fakeHome.filePath(QStringLiteral("zz-notes")), "notes\n");

    x.startProcess(QStringLiteral("unshare"),
                   {"-m", "sh", "-c",
                    "mount --make-rprivate / && mount --bind \"$1\" \"$2\" && "
                    "cd \"$2/.config/zavo_launcher\" && exec \"$3\"",
                    "sh", scratch.path(), home, XSession::launcherPath()});
    const quint64 dialog = openDialog(x);
    QVERIFY2(dialog != 0, qPrintable(x.whyNoWindow(kDialogTitle)));

    // The lists stand on the home folder: its one program is the file
    // list's last row. Registered into slot 1.
    QVERIFY(xd.keys(QStringList(kTabsToFolderList + 2, QStringLiteral("Tab")) +
                        QStringList{"End", "space", "Tab", "alt+t"},
                    50));
    const QString settei = fakeHome.filePath(QStringLiteral(".config/zavo_launcher/settei.ini"));
    const QByteArray expected = zavo::test::recordBytes(QFile::encodeName(home) + "/", "tool");
    QTRY_COMPARE_WITH_TIMEOUT(zavo::test::readFile(settei), expected, 10000);
    QVERIFY(!QFileInfo::exists(fakeHome.filePath(QStringLiteral("settei.ini"))));

    const QString shot = QStringLiteral(ZAVO_SCREENSHOT_DIR "/option_dialog_menu_start.png");
    QFile::remove(shot);
    QCOMPARE(x.run(QStringLiteral("import"), {"-window", QString::number(dialog), shot}), 0);

    // Back in the main window, slot 1 (Command1(6), 240, 1320 twips) starts
    // the program in the home folder.
    QVERIFY(xd.keys({"alt+r"}, 50));
    const quint64 launcher = x.waitForWindow(kMainTitle);
    QVERIFY(launcher != 0);
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kDialogTitle).isEmpty(), 10000);
    const XGeometry g = x.geometry(launcher);
    QVERIFY(xd.click(QPoint(g.x + 16 + 44, g.y + (g.height - 182) + 88 + 16), true));
    const QString out = program + QStringLiteral(".out");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(out), 10000);
    QCOMPARE(zavo::test::readFile(out).trimmed(), QFile::encodeName(home));
}

// The dialog opens on touroku and the reset question answers No to Enter, so
// stray Enter presses never wipe the slots; Alt+S, Alt+Y still does. In a
// Japanese session the question's buttons are Japanese (the screenshot).
void TestE2eOption::strayKeysKeepTheSlots() {
    XSession x;
    XDriver xd(x);
    ZAVO_REQUIRE_X_SESSION(x);
    if (!x.useJapaneseLocale())
        QSKIP("localedef cannot make ja_JP.UTF-8 (apt-get install locales)");
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString settei = work.filePath(QStringLiteral("settei.ini"));
    const QByteArray before = zavo::test::recordBytes("/opt/a/", "first.exe") +
                              zavo::test::recordBytes("/opt/b/", "second.exe");
    zavo::test::writeFile(settei, before);
    x.startLauncher(work.path());
    QVERIFY2(openDialog(x) != 0, "alt+o opened no registration dialog");
    // The launcher is unloaded meanwhile: a window of its title is a message box.
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kMainTitle).isEmpty(), 10000);
    const auto answer = [&](const QStringList& open, const QStringList& close,
                            const char* shot = nullptr) {
        if (!xd.keys(open, 50) || !x.waitForWindow(kMainTitle))
            return false;
        if (shot)
            x.screenshot(QString::fromUtf8(shot));
        if (!xd.keys(close, 50))
            return false;
        for (int i = 0; i < 200 && !x.windows(kMainTitle).isEmpty(); ++i)
            QTest::qWait(50);
        return x.windows(kMainTitle).isEmpty();
    };
    // Enter on touroku with no file chosen: the refusal; Enter closes it.
    QVERIFY(answer({"Return"}, {"Return"}, ZAVO_SCREENSHOT_DIR "/option_refusal.png"));
    QCOMPARE(zavo::test::readFile(settei), before);
    QVERIFY(answer({"alt+s"}, {"Return"}, ZAVO_SCREENSHOT_DIR "/option_reset_question.png"));
    QCOMPARE(zavo::test::readFile(settei), before);
    QVERIFY(answer({"alt+s"}, {"alt+y"}));
    const QByteArray blank = zavo::test::recordBytes("", "");
    QTRY_COMPARE_WITH_TIMEOUT(zavo::test::readFile(settei), blank + blank + blank, 10000);
}

// A settei.ini that cannot be read (a folder of that name): the dialog comes
// up first, then the message, as a window of the dialog's.
void TestE2eOption::loadErrorOwnedByTheDialog() {
    XSession x;
    XDriver xd(x);
    ZAVO_REQUIRE_X_SESSION(x);
    QTemporaryDir work;
    QVERIFY(work.isValid());
    QVERIFY(QDir(work.path()).mkdir(QStringLiteral("settei.ini")));
    x.startLauncher(work.path());
    QVERIFY(x.waitForWindow(kMainTitle) != 0);
    QVERIFY(xd.activate(x.waitForWindow(kMainTitle)) && xd.keys({"alt+o"}, 50));
    const quint64 dialog = x.waitForWindow(kDialogTitle);
    QVERIFY2(dialog != 0, "alt+o opened no registration dialog");
    // The launcher is unloaded: a window of its title is the message.
    const auto ownedMessage = [&] {
        for (const quint64 w : x.windows(kMainTitle))
            if (x.property(w, QStringLiteral("WM_TRANSIENT_FOR"))
                    .contains(QStringLiteral("0x%1").arg(dialog, 0, 16)))
                return true;
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(ownedMessage(), 10000);
    x.screenshot(QStringLiteral(ZAVO_SCREENSHOT_DIR "/option_load_error.png"));
}

QTEST_GUILESS_MAIN(TestE2eOption)
#include "test_e2e_option.moc"
