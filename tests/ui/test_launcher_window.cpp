// The main window's widgets: what the design sheet and the view make of
// them, and that the view hands its events to the form.
#include "support/qt_program.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>

using namespace zavo;
using test::QtProgram;

class TestLauncherWindow : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void menus();
    void timerTicksEvery250ms();
    void openedWithTheFocus();
    void slotButtonNamesFollowTheirText();
    void clicksReachTheForm();
};

void TestLauncherWindow::layout() {
    QtProgram p;
    p.start();
    ui::LauncherWindow* w = p.launcher();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("ZAVO_launcher"));
    QCOMPARE(w->designArea()->size(), QSize(312, 182));
    QCOMPARE(w->designArea()->mapToGlobal(QPoint(0, 0)), QPoint(686, 420));
    QVERIFY(!w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(w->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));

    test::checkRows(w->designArea(), test::sheetRows(forms::kLauncherControls));
    QVERIFY(!QTest::currentTestFailed());
    auto* command2 = w->designArea()->findChild<QPushButton*>(QStringLiteral("Command2"));
    QCOMPARE(command2->toolTip(), QStringLiteral("ウィンドウズそのものを終了させます。"));
    // The shutdown button is no tab stop; its access key and a click still
    // reach it.
    QCOMPARE(test::focusChain(command2, 10),
             QStringList({"Command1_0", "Command1_1", "Command1_2", "Command1_3", "Command1_4",
                          "Command1_5", "Command1_6", "Command1_7", "Command1_8", "Command1_0"}));
    QCOMPARE(command2->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(command2->shortcut(), QKeySequence(Qt::ALT | Qt::Key_W));
}

void TestLauncherWindow::menus() {
    QtProgram p;
    p.start();
    // The menu bar as a tree: each entry with its shortcut, "▸" where it
    // opens a menu (オプション acts when chosen).
    QStringList tree;
    for (QAction* top : p.launcher()->menuBar()->actions()) {
        tree << top->text() + (top->menu() ? " ▸" : "");
        for (QAction* entry : top->menu() ? top->menu()->actions() : QList<QAction*>())
            tree << "  " + entry->text() + " " + entry->shortcut().toString();
    }
    QCOMPARE(tree, QStringList({"ファイル(&F) ▸", "  最小化(&Z) Ctrl+Z", "  アプリ終了(&E) ",
                                "オプション(&O)...", "ヘルプ(&H) ▸", "  バージョン情報(&I) "}));

    // F10 opens the first menu, as it enters the menu bar on Windows.
    QMenuBar* bar = p.launcher()->menuBar();
    QVERIFY(QTest::qWaitForWindowActive(p.launcher()));
    QTest::keyClick(p.launcher(), Qt::Key_F10);
    QCOMPARE(bar->activeAction(), bar->actions().value(0));
    QTRY_VERIFY(bar->actions().value(0)->menu()->isVisible());

    // Each entry reaches its handler.
    bar->actions()[2]->menu()->actions()[0]->trigger();
    QVERIFY(p.about());
    QVERIFY(!p.launcher()->isVisible());
}

// Catches Timer1 at its first tick: the timer itself is private to the window.
void TestLauncherWindow::timerTicksEvery250ms() {
    struct Catch : QObject {
        QTimer* timer = nullptr;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Timer && o->objectName() == QLatin1String("Timer1"))
                timer = qobject_cast<QTimer*>(o);
            return false;
        }
    } spy;
    qApp->installEventFilter(&spy);
    QtProgram p;
    p.start();
    QTRY_VERIFY_WITH_TIMEOUT(spy.timer, 5000);
    qApp->removeEventFilter(&spy);
    QCOMPARE(spy.timer->interval(), 250);
    QVERIFY(spy.timer->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(p.launcher()->time_display()->text(),
                              QStringLiteral("2003/10/01 （水） 9:05:07"), 5000);
}

// The focus starts on the media player's button, never on the shutdown
// button, also when the window comes back from About or the dialog; Enter
// then starts the player, as on Windows.
void TestLauncherWindow::openedWithTheFocus() {
    const std::string player = "launch c:\\program files\\windows media player\\wmplayer.exe 1";
    QtProgram p;
    p.start();
    const std::function<void()> rounds[] = {
        [] {},
        [&] {
            p.launcher()->findChild<QAction*>(QStringLiteral("about"))->trigger();
            QTest::keyClick(p.about(), Qt::Key_Escape);
        },
        [&] {
            p.launcher()->findChild<QAction*>(QStringLiteral("opt"))->trigger();
            QTest::keyClick(p.option(), Qt::Key_Escape);
        },
    };
    for (const auto& round : rounds) {
        round();
        QVERIFY(p.launcher()->isVisible());
        // The window's focus child: which window is active after another
        // one closed is the window manager's to say (the X11 tests see it).
        QWidget* focus = p.launcher()->focusWidget();
        QVERIFY(focus);
        QCOMPARE(focus->objectName(), QStringLiteral("Command1_0"));
        QTest::keyClick(focus, Qt::Key_Return);
        const auto calls = p.services.callsWithoutClock();
        QVERIFY(std::find(calls.begin(), calls.end(), player) != calls.end());
        QVERIFY(std::none_of(calls.begin(), calls.end(),
                             [](const std::string& c) { return c.rfind("exit", 0) == 0; }));
        p.services.calls.clear();
        // Wherever the focus went, the next showing starts over.
        p.launcher()->Command1(8)->setFocus();
    }
}

void TestLauncherWindow::slotButtonNamesFollowTheirText() {
    QtProgram p;
    // Slot 3: 漢字プログラム名.exe, whose ten characters are wider than the
    // button: drawn on two lines, read whole.
    p.writeSettei(test::recordBytes("/opt/", "notepad.exe") + test::recordBytes("", "") +
                  test::recordBytes("/opt/", "\x8a\xbf\x8e\x9a\x83\x76\x83\x8d\x83\x4f\x83\x89"
                                             "\x83\x80\x96\xbc.exe"));
    p.start();
    QPushButton* slot1 = p.launcher()->Command1(6);
    QCOMPARE(slot1->text(), QStringLiteral("notepad.ex"));
    QCOMPARE(test::accessibleName(slot1), slot1->text());
    QCOMPARE(test::accessibleName(p.launcher()->Command1(7)), QStringLiteral("２：未登録"));
    QCOMPARE(p.launcher()->Command1(8)->text(), QStringLiteral("漢字プログラム名.e"));
    QCOMPARE(test::accessibleName(p.launcher()->Command1(8)), QStringLiteral("漢字プログラム名.e"));
}

void TestLauncherWindow::clicksReachTheForm() {
    QtProgram p;
    p.start();
    QTest::mouseClick(p.launcher()->designArea()->findChild<QPushButton*>("Command2"),
                      Qt::LeftButton);
    QVERIFY(p.services.callsWithoutClock().back() == "exit 1 0");
    QTest::mouseClick(p.launcher()->Command1(5), Qt::LeftButton);
    QVERIFY(p.services.callsWithoutClock().back() == "launch c:\\windows\\explorer.exe 1");
    // The close box goes through the form: the program ends.
    QPointer<ui::LauncherWindow> w = p.launcher();
    QVERIFY(!w->close());
    QVERIFY(!p.forms->anyLoaded());
}

QTEST_MAIN(TestLauncherWindow)
#include "test_launcher_window.moc"
