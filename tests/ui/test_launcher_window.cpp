// The main window under the offscreen platform, with the recording fake and
// a settei.ini spelled out byte by byte in a temporary folder.
#include "core/module1.h"
#include "support/fake_services.h"
#include "support/slot_bytes.h"
#include "ui/form.h"
#include "ui/launcher_app.h"
#include "ui/line_control.h"
#include "ui/zavo_launcher.h"
#include "ui/zavo_launcher_layout.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zavo;
using test::recordBytes;
using ui::FormId;
using ui::ZAVO_launcher;

namespace {

const QStringList kDesignCaptions{QStringLiteral("１：未登録"), QStringLiteral("２：未登録"),
                                  QStringLiteral("３：未登録")};

// One program run: the fake, Module1 on a private settei.ini, the forms.
struct Run {
    explicit Run(const QString& folder)
        : settei(QDir(folder).filePath("settei.ini")), module1(fake, settei.toStdString()),
          forms(fake) {
        ui::registerForms(forms, module1);
    }
    ZAVO_launcher* launcher() const { return forms.loadedAs<ZAVO_launcher>(FormId::Launcher); }
    // What the window asked of the platform, without the clock's readings.
    QStringList calls() const { return fake.callsWithoutClock(); }
    QStringList slotCaptions() const {
        QStringList out;
        for (int i = 6; i <= 8; ++i)
            out << launcher()->Command1(i)->text();
        return out;
    }
    QAction* action(const char* name) const {
        return launcher()->findChild<QAction*>(QString::fromLatin1(name));
    }

    QString settei;
    test::FakeServices fake;
    core::Module1 module1;
    ui::Forms forms;
};

} // namespace

class TestLauncherWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void slotCaptions_data();
    void slotCaptions();
    void firstRunCreatesEmptySettei();
    void unreadableSetteiKeepsDesignCaptions_data();
    void unreadableSetteiKeepsDesignCaptions();
    void startUpOrder();
    void secondInstanceEndsSilently();

    void smallizationMinimises();
    void exitEndsTheProgram();
    void closeBoxEndsTheProgram();
    void optReplacesTheWindowWithoutEnding();
    void optReturnRereadsSettei();
    void aboutHidesTheWindow();
    void aboutReturnKeepsTheWindow();

    void designArea();
    void controlGeometry_data();
    void controlGeometry();
    void captionsAndFonts_data();
    void captionsAndFonts();
    void tabOrder();
    void menuBar();
    void titleAndButtons();

private:
    // Starts the program with `file` as settei.ini (none when null).
    Run& start(const QByteArray& file = QByteArray(), bool writeFile = false);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Run> run_;
};

void TestLauncherWindow::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestLauncherWindow::cleanup() {
    run_.reset();
    dir_.reset();
}

Run& TestLauncherWindow::start(const QByteArray& file, bool writeFile) {
    run_ = std::make_unique<Run>(dir_->path());
    if (writeFile)
        test::writeFile(run_->settei, file);
    run_->forms.show(FormId::Launcher);
    return *run_;
}

void TestLauncherWindow::slotCaptions_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("captions");

    const QByteArray win("C:\\WINDOWS\\");
    const QByteArray none = recordBytes("", "");
    const QString d1 = kDesignCaptions[0], d2 = kDesignCaptions[1], d3 = kDesignCaptions[2];

    QTest::newRow("empty file") << QByteArray() << kDesignCaptions;
    QTest::newRow("slot 1 eleven characters")
        << recordBytes(win, "notepad.exe") << QStringList{"notepad.ex", d2, d3};
    QTest::newRow("slot 2 eight characters keep their padding")
        << none + recordBytes(win, "calc.exe") << QStringList{d1, "calc.exe  ", d3};
    QTest::newRow("only slot 3 written")
        << QByteArray(400, '\0') + recordBytes("C:\\TOOLS\\", "grep.exe")
        << QStringList{d1, d2, "grep.exe  "};
    QTest::newRow("reset records") << none.repeated(3) << kDesignCaptions;
    QTest::newRow("blank first character")
        << recordBytes(win, " calc.exe") << QStringList{" calc.exe ", d2, d3};
    QTest::newRow("ten blanks, then characters")
        << recordBytes(win, "          calc.exe") << kDesignCaptions;
    QTest::newRow("folder but no file name") << recordBytes(win, "") << kDesignCaptions;
    QTest::newRow("all three, one in code page 932")
        << recordBytes(win, "a.exe") +
               recordBytes(win, QByteArray::fromHex("835c837483672e657865")) +
               recordBytes(win, "abcdefghijklmnopqrstuvwxyz")
        << QStringList{"a.exe     ", QStringLiteral("ソフト.exe   "), "abcdefghij"};
    QTest::newRow("stray bytes") << recordBytes(win, QByteArray::fromHex("ff80a0fd2e657865"))
                                 << QStringList{QString(4, QChar(0xFFFD)) + ".exe  ", d2, d3};
    QTest::newRow("50-byte file") << QByteArray(50, 'A') << kDesignCaptions;
    QTest::newRow("1 MiB of noise after slot 1")
        << recordBytes(win, "calc.exe").leftJustified(1 << 20, '\xff')
        << QStringList{"calc.exe  ", QString(10, QChar(0xFFFD)), QString(10, QChar(0xFFFD))};
}

void TestLauncherWindow::slotCaptions() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, captions);
    Run& run = start(file, true);
    QVERIFY(run.launcher());
    QVERIFY(run.launcher()->isVisible());
    QCOMPARE(run.slotCaptions(), captions);
    QVERIFY(!run.module1.settei.is_open());     // closed again within the load
    QCOMPARE(test::readFile(run.settei), file); // reading never writes
}

void TestLauncherWindow::firstRunCreatesEmptySettei() {
    Run& run = start();
    QCOMPARE(run.slotCaptions(), kDesignCaptions);
    QVERIFY(QFileInfo(run.settei).isFile());
    QCOMPARE(QFileInfo(run.settei).size(), 0);
}

void TestLauncherWindow::unreadableSetteiKeepsDesignCaptions_data() {
    QTest::addColumn<bool>("folder");
    QTest::newRow("a folder named settei.ini") << true;
    QTest::newRow("open refused") << false;
}

void TestLauncherWindow::unreadableSetteiKeepsDesignCaptions() {
    QFETCH(bool, folder);
    if (folder)
        QVERIFY(QDir(dir_->path()).mkdir("settei.ini"));
    auto& run = *(run_ = std::make_unique<Run>(dir_->path()));
    run.fake.failRecordOpen = !folder;
    QSignalSpy ended(&run.forms, &ui::Forms::lastFormUnloaded);
    run.forms.show(FormId::Launcher);

    QVERIFY(run.launcher());
    QVERIFY(run.launcher()->isVisible());
    QCOMPARE(run.slotCaptions(), kDesignCaptions);
    QVERIFY(run.calls().contains("open " + run.settei));
    QVERIFY(!run.fake.ended);
    QVERIFY(!run.module1.settei.is_open());
    QVERIFY(!ended.wait(100)); // the program runs on
    QVERIFY(run.launcher());
}

void TestLauncherWindow::startUpOrder() {
    Run& run = start(recordBytes("C:\\", "calc.exe"), true);
    const QStringList calls = run.calls();
    QCOMPARE(calls.size(), 3);
    QCOMPARE(calls[0], "instance?");
    // The window (menu bar included) at its place, topmost, shown without
    // taking the focus; the design area below the menu bar stays at 420.
    static const QRegularExpression pos(R"(^setWindowPos -1 686 (\d+) 312 (\d+) 0x50$)");
    const auto m = pos.match(calls[1]);
    QVERIFY2(m.hasMatch(), qPrintable(calls[1]));
    const int y = m.captured(1).toInt(), h = m.captured(2).toInt();
    QCOMPARE(y + h, 420 + 182);
    QCOMPARE(h - 182, run.launcher()->menuBar()->height());
    QCOMPARE(calls[2], "open " + run.settei);
    QVERIFY(!run.fake.ended);
}

void TestLauncherWindow::secondInstanceEndsSilently() {
    auto& run = *(run_ = std::make_unique<Run>(dir_->path()));
    run.fake.otherInstance = true;
    run.forms.show(FormId::Launcher);

    QCOMPARE(run.calls(), QStringList({"instance?", "end"}));
    QVERIFY(run.fake.ended);
    QVERIFY(run.forms.ended());
    QVERIFY(run.fake.messages.empty());
    QCOMPARE(run.fake.recordFileOpens, 0);
    QVERIFY(!QFileInfo::exists(run.settei));
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    // Nothing else may happen after the end, not even another load.
    run.forms.show(FormId::Launcher);
    run.forms.show(FormId::Option);
    QCOMPARE(run.calls(), QStringList({"instance?", "end"}));
}

void TestLauncherWindow::smallizationMinimises() {
    Run& run = start();
    QAction* smallization = run.action("smallization");
    QVERIFY(smallization);
    QCOMPARE(smallization->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    smallization->trigger();
    QVERIFY(run.launcher()->windowState().testFlag(Qt::WindowMinimized));
    QVERIFY(run.forms.loaded(FormId::Launcher)); // still loaded, still running

    // Ctrl+Z from the keyboard does the same.
    run.launcher()->setWindowState(Qt::WindowNoState);
    run.launcher()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(run.launcher()));
    QTest::keyClick(run.launcher(), Qt::Key_Z, Qt::ControlModifier);
    QTRY_VERIFY(run.launcher()->windowState().testFlag(Qt::WindowMinimized));
}

void TestLauncherWindow::exitEndsTheProgram() {
    Run& run = start();
    QSignalSpy ended(&run.forms, &ui::Forms::lastFormUnloaded);
    QPointer<ZAVO_launcher> window = run.launcher();
    QVERIFY(run.action("exit"));
    run.action("exit")->trigger();
    QVERIFY(!run.forms.loaded(FormId::Launcher));
    QVERIFY(!window->isVisible());
    QVERIFY(!run.module1.settei.is_open());
    QTRY_COMPARE(ended.count(), 1);
    QTRY_VERIFY(window.isNull()); // destroyed once back in the event loop
    QVERIFY(!run.fake.ended);     // an ordinary end, not the second-instance one
}

void TestLauncherWindow::closeBoxEndsTheProgram() {
    Run& run = start();
    QSignalSpy ended(&run.forms, &ui::Forms::lastFormUnloaded);
    QVERIFY(run.launcher()->close());
    QVERIFY(!run.forms.loaded(FormId::Launcher));
    QTRY_COMPARE(ended.count(), 1);
    QVERIFY(!ended.wait(100)); // once only
}

void TestLauncherWindow::optReplacesTheWindowWithoutEnding() {
    Run& run = start();
    QSignalSpy ended(&run.forms, &ui::Forms::lastFormUnloaded);
    QPointer<ZAVO_launcher> window = run.launcher();
    QVERIFY(run.action("opt"));
    run.action("opt")->trigger();
    QVERIFY(!run.forms.loaded(FormId::Launcher));
    QVERIFY(run.forms.loaded(FormId::Option));
    QVERIFY(run.forms.loaded(FormId::Option)->window().isVisible());
    QTRY_VERIFY(window.isNull());
    QVERIFY(!ended.wait(100));
}

void TestLauncherWindow::optReturnRereadsSettei() {
    Run& run = start();
    run.action("opt")->trigger();
    QTRY_VERIFY(!run.launcher());
    // Meanwhile slot 2 gets registered; the main window comes back afresh.
    test::writeFile(run.settei, recordBytes("", "") + recordBytes("C:\\", "calc.exe"));
    run.fake.calls.clear();
    run.forms.show(FormId::Launcher);
    run.forms.unload(FormId::Option);
    QVERIFY(run.launcher());
    QVERIFY(run.launcher()->isVisible());
    QCOMPARE(run.slotCaptions(),
             QStringList({kDesignCaptions[0], "calc.exe  ", kDesignCaptions[2]}));
    QCOMPARE(run.calls().first(), "instance?"); // the whole start-up ran again
    QVERIFY(!run.fake.ended);
}

void TestLauncherWindow::aboutHidesTheWindow() {
    Run& run = start();
    QSignalSpy ended(&run.forms, &ui::Forms::lastFormUnloaded);
    QVERIFY(run.action("about"));
    run.action("about")->trigger();
    QVERIFY(run.forms.loaded(FormId::Launcher)); // hidden, not unloaded
    QVERIFY(!run.launcher()->isVisible());
    QVERIFY(run.forms.loaded(FormId::About));
    QVERIFY(run.forms.loaded(FormId::About)->window().isVisible());
    QVERIFY(!ended.wait(100));
}

void TestLauncherWindow::aboutReturnKeepsTheWindow() {
    Run& run = start(recordBytes("C:\\", "notepad.exe"), true);
    ZAVO_launcher* window = run.launcher();
    run.action("about")->trigger();
    // The slot changes on disk; a window that was only hidden does not see it.
    test::writeFile(run.settei, recordBytes("C:\\", "calc.exe"));
    run.fake.calls.clear();
    run.forms.show(FormId::Launcher);
    run.forms.unload(FormId::About);
    QCOMPARE(run.launcher(), window);
    QVERIFY(window->isVisible());
    QCOMPARE(run.slotCaptions()[0], "notepad.ex");
    QCOMPARE(run.calls(), QStringList());
}

void TestLauncherWindow::designArea() {
    Run& run = start();
    ZAVO_launcher* w = run.launcher();
    QWidget* area = w->designArea();
    QCOMPARE(area->size(), QSize(312, 182));
    const int menu = w->menuBar()->height();
    QVERIFY(menu > 0);
    QCOMPARE(area->mapTo(w, QPoint(0, 0)), QPoint(0, menu));
    QCOMPARE(w->geometry(), QRect(686, 420 - menu, 312, 182 + menu));
    QCOMPARE(area->mapToGlobal(QPoint(0, 0)), QPoint(686, 420));
    QCOMPARE(w->minimumSize(), w->maximumSize()); // no control moves, nothing resizes
}

void TestLauncherWindow::controlGeometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect"); // pixels: twips / 15

    // Command2 3240 2040 1215 495; Command1 columns 240 1680 3120, rows 120
    // 720 1320, 1335 x 495; time_display 240 2040 2895 375.
    QTest::newRow("Command2") << "Command2" << QRect(216, 136, 81, 33);
    const int lefts[] = {16, 112, 208};
    const int tops[] = {8, 48, 88};
    for (int i = 0; i < 9; ++i) {
        const QString name = QStringLiteral("Command1_%1").arg(i);
        QTest::newRow(qPrintable(name)) << name << QRect(lefts[i % 3], tops[i / 3], 89, 33);
    }
    QTest::newRow("time_display") << "time_display" << QRect(16, 136, 193, 25);
}

void TestLauncherWindow::controlGeometry() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    Run& run = start();
    QWidget* area = run.launcher()->designArea();
    QWidget* w = area->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget(), area);
    QCOMPARE(w->geometry(), rect);
    QVERIFY(w->isVisible());

    // The design sheet has this row, and only the rows checked here and Line1.
    bool inTable = false;
    for (const ui::ControlSpec& row : ui::kLauncherControls)
        inTable = inTable || name == QLatin1String(row.name);
    QVERIFY(inTable);
    QCOMPARE(ui::kLauncherControls.size(), std::size_t(12));
}

void TestLauncherWindow::captionsAndFonts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("italic");

    const QString gothic = QStringLiteral("ＭＳ ゴシック");
    const char* captions[] = {"M_Player(&M)", "IE (&I)",      "BookShelf (&S)",
                              "乗換案内(&N)", "AlpsMap (&A)", "Explorer(&E)",
                              "１：未登録",   "２：未登録",   "３：未登録"};
    for (int i = 0; i < 9; ++i) {
        const QString name = QStringLiteral("Command1_%1").arg(i);
        QTest::newRow(qPrintable(name))
            << name << QString::fromUtf8(captions[i]) << gothic << 9.0 << false;
    }
    QTest::newRow("Command2") << "Command2" << QStringLiteral("win終了 (&W)") << gothic << 9.0
                              << false;
    QTest::newRow("time_display") << "time_display" << QString() << QStringLiteral("ＭＳ Ｐ明朝")
                                  << 11.25 << true;
}

void TestLauncherWindow::captionsAndFonts() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, italic);
    Run& run = start();
    QWidget* w = run.launcher()->designArea()->findChild<QWidget*>(name);
    QVERIFY(w);
    if (auto* b = qobject_cast<QPushButton*>(w))
        QCOMPARE(b->text(), caption);
    QCOMPARE(w->font().family(), family);
    QCOMPARE(w->font().pointSizeF(), points);
    QCOMPARE(w->font().italic(), italic);
    QCOMPARE(w->font().weight(), QFont::Normal);
    QVERIFY(!w->font().bold());
    QVERIFY(!w->font().underline());
}

void TestLauncherWindow::tabOrder() {
    Run& run = start();
    QWidget* area = run.launcher()->designArea();
    QStringList chain{"Command2"};
    for (int i = 0; i <= 8; ++i)
        chain << QStringLiteral("Command1_%1").arg(i);
    for (int i = 0; i + 1 < chain.size(); ++i) {
        QWidget* w = area->findChild<QWidget*>(chain[i]);
        QVERIFY(w);
        QVERIFY(w->focusPolicy() & Qt::TabFocus);
        QCOMPARE(w->nextInFocusChain()->objectName(), chain[i + 1]);
    }
}

void TestLauncherWindow::menuBar() {
    Run& run = start();
    const QList<QAction*> top = run.launcher()->menuBar()->actions();
    QCOMPARE(top.size(), 3);
    QCOMPARE(top[0]->text(), QStringLiteral("ファイル(&F)"));
    QVERIFY(top[0]->menu());
    QCOMPARE(top[0]->menu()->objectName(), "file");
    QCOMPARE(top[1]->objectName(), "opt");
    QCOMPARE(top[1]->text(), QStringLiteral("オプション(&O)..."));
    QVERIFY(!top[1]->menu()); // acts when chosen
    QCOMPARE(top[2]->text(), QStringLiteral("ヘルプ(&H)"));
    QCOMPARE(top[2]->menu()->objectName(), "help");

    const QList<QAction*> file = top[0]->menu()->actions();
    QCOMPARE(file.size(), 2);
    QCOMPARE(file[0]->objectName(), "smallization");
    QCOMPARE(file[0]->text(), QStringLiteral("最小化(&Z)"));
    QCOMPARE(file[1]->objectName(), "exit");
    QCOMPARE(file[1]->text(), QStringLiteral("アプリ終了(&E)"));
    const QList<QAction*> help = top[2]->menu()->actions();
    QCOMPARE(help.size(), 1);
    QCOMPARE(help[0]->objectName(), "about");
    QCOMPARE(help[0]->text(), QStringLiteral("バージョン情報(&I)"));
    for (QAction* a : file + help + QList<QAction*>{top[1]}) {
        QVERIFY(a->isEnabled());
        QVERIFY(a->isVisible());
        QVERIFY(!a->isChecked());
    }
}

void TestLauncherWindow::titleAndButtons() {
    Run& run = start();
    ZAVO_launcher* w = run.launcher();
    QCOMPARE(w->windowTitle(), "ZAVO_launcher");
    QCOMPARE(w->objectName(), "ZAVO_launcher");
    const Qt::WindowFlags f = w->windowFlags();
    QVERIFY(!f.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(f.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(f.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(f.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(f.testFlag(Qt::WindowTitleHint));
    auto* command2 = w->designArea()->findChild<QPushButton*>("Command2");
    QVERIFY(command2);
    QCOMPARE(command2->toolTip(), QStringLiteral("ウィンドウズそのものを終了させます。"));
    auto* line = w->designArea()->findChild<ui::LineControl*>("Line1");
    QVERIFY(line);
    QCOMPARE(line->from(), QPoint(8, 128));
    QCOMPARE(line->to(), QPoint(296, 128));
}

QTEST_MAIN(TestLauncherWindow)
#include "test_launcher_window.moc"
