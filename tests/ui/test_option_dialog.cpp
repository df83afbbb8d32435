// The registration dialog's widgets: layout, keys, focus, and that the view
// hands its events to the form.
#include "support/qt_program.h"
#include "support/report_script.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace zavo;
using forms::FormId;
using test::QtProgram;

class TestOptionDialog : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void tourokuAndBack_data();
    void tourokuAndBack();
    void namesFollowTheirText();
};

void TestOptionDialog::layout() {
    QtProgram p;
    ui::OptionDialog* d = p.openByMenu<ui::OptionDialog>("opt", FormId::Option);
    QVERIFY(d);
    QCOMPARE(d->windowTitle(), QStringLiteral("登録フォーム"));
    QCOMPARE(d->size(), QSize(455, 196));
    QVERIFY(!d->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    test::checkRows(d, test::sheetRows(forms::kOptionControls));
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(d->findChild<QWidget*>("reset")->toolTip(),
             QStringLiteral("各ボタンへの登録を抹消します。"));
    QCOMPARE(d->findChild<QWidget*>("Cancel_but")->toolTip(),
             QStringLiteral("ランチャー画面へと戻ります。"));
    // reset is no tab stop: Enter, Enter must not wipe the slots.
    QCOMPARE(test::focusChain(d->findChild<QWidget*>("reset"), 8),
             QStringList({"touroku", "Cancel_but", "dir_name", "Drv_name", "File_name", "Option1",
                          "Option2", "Option3"}));
    QCOMPARE(d->findChild<QPushButton*>("reset")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
    QVERIFY(d->findChild<QRadioButton*>("Option1")->isChecked());
    // The option buttons and reset lie over the frames, so they take the clicks.
    for (const char* name : {"Option1", "Option2", "Option3", "reset"}) {
        QWidget* w = d->findChild<QWidget*>(name);
        QCOMPARE(d->childAt(w->geometry().center()), w);
    }
}

// The dialog opens with the focus on touroku. No default button: Enter
// presses the focused button only, as on Windows. Esc and the close box go
// through the form: the launcher comes back.
void TestOptionDialog::tourokuAndBack_data() {
    QTest::addColumn<bool>("mouse");
    QTest::newRow("keys") << false;
    QTest::newRow("mouse") << true;
}

void TestOptionDialog::tourokuAndBack() {
    QFETCH(bool, mouse);
    QtProgram p;
    ui::OptionDialog* d = p.openByMenu<ui::OptionDialog>("opt", FormId::Option);
    QVERIFY(QTest::qWaitForWindowActive(d));
    QWidget* touroku = QApplication::focusWidget();
    QCOMPARE(touroku->objectName(), QStringLiteral("touroku"));
    for (QPushButton* b : d->findChildren<QPushButton*>())
        QVERIFY2(!b->isDefault() && !b->autoDefault(), qPrintable(b->objectName()));
    const auto before = p.services.callsWithoutClock();
    QTest::keyClick(d, Qt::Key_Return);
    QVERIFY(p.services.callsWithoutClock() == before); // nothing ran
    if (mouse)
        QTest::mouseClick(touroku, Qt::LeftButton);
    else
        QTest::keyClick(touroku, Qt::Key_Enter);
    // No file chosen: the form refuses with its message.
    QCOMPARE(p.services.callsWithoutClock().back(),
             std::string("msg 登録エラーです\nファイルが選ばれていません。 16 ZAVO_launcher"));
    QVERIFY(p.option());
    if (mouse)
        QVERIFY(!d->close());
    else
        QTest::keyClick(d, Qt::Key_Escape);
    QVERIFY(!p.option());
    QVERIFY(p.launcher() && p.launcher()->isVisible());
}

// What a screen reader calls the labels and the lists. On Linux Qt names a
// combo box by its text and takes its name from the label that labels it.
void TestOptionDialog::namesFollowTheirText() {
    QtProgram p;
    p.writeSettei(test::recordBytes("/opt/", "a.exe") + test::recordBytes("", "") +
                  test::recordBytes("/opt/", "notepad.exe"));
    ui::OptionDialog* d = p.openByMenu<ui::OptionDialog>("opt", FormId::Option);
    const QStringList shown{"a.exe     ", QStringLiteral("未登録"), "notepad.ex"};
    for (int n = 1; n <= 3; ++n) {
        auto* label = d->findChild<QLabel*>(QStringLiteral("Label%1").arg(n));
        QCOMPARE(label->text(), shown[n - 1]);
        QCOMPARE(test::accessibleName(label), label->text());
        // Read after its option button, which it labels.
        QCOMPARE(d->findChild<QWidget*>(QStringLiteral("Option%1").arg(n))->accessibleDescription(),
                 label->text());
    }
    const QString here = QDir::currentPath();
    QCOMPARE(test::accessibleName(d->findChild<QWidget*>("dir_name")), "フォルダ " + here);
    QCOMPARE(test::accessibleName(d->findChild<QWidget*>("File_name")),
             QStringLiteral("ファイルがありません"));
    auto* drives = d->findChild<QComboBox*>("Drv_name");
    QStringList labels;
    const auto relations =
        QAccessible::queryAccessibleInterface(drives)->relations(QAccessible::Label);
    for (const auto& [label, relation] : relations)
        labels << label->text(QAccessible::Name);
    QCOMPARE(labels, QStringList{QStringLiteral("ドライブ")});
    QCOMPARE(drives->accessibleDescription(), drives->currentText());
    QVERIFY(!drives->currentText().isEmpty());

    // A program as Linux knows one: a file the user may execute.
    test::writeProgram(QStringLiteral("tool"), "#!/bin/sh\n");
    QVERIFY(!QTest::currentTestFailed());
    auto* form = dynamic_cast<forms::frmOption*>(p.forms->loaded(FormId::Option));
    QVERIFY(form);
    p.forms->run([&] { form->dir_name_Change(); });
    QCOMPARE(test::accessibleName(d->findChild<QWidget*>("File_name")), QStringLiteral("ファイル"));
}

QTEST_MAIN(TestOptionDialog)
#include "test_option_dialog.moc"
