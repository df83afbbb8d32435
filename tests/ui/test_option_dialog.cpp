// The registration dialog against a temporary folder tree and a real
// settei.ini, with the recording fake for message boxes and beeps.
#include "core/module1.h"
#include "support/fake_services.h"
#include "support/slot_bytes.h"
#include "ui/control_table.h"
#include "ui/form.h"
#include "ui/frm_option.h"
#include "ui/launcher_app.h"
#include "ui/zavo_launcher.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

#include <unistd.h>

using namespace zavo;
using test::recordBytes;
using ui::control;
using ui::FormId;
using ui::frmOption;

namespace {

const QString kRegisterError = QStringLiteral("登録エラーです");
const QString kReadError = QStringLiteral("読み取りエラー");
const QString kUnregistered = QStringLiteral("未登録");

// A temporary working folder holding settei.ini and the programs to choose
// from, with the launcher's windows wired to the recording fake.
class Bench {
public:
    Bench() : previousDir_(QDir::currentPath()) {
        QVERIFY(tree.isValid());
        QVERIFY(QDir::setCurrent(tree.path()));
        ui::registerForms(forms, module1);
    }
    ~Bench() {
        forms.unload(FormId::Option);
        forms.unload(FormId::Launcher);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(previousDir_);
    }

    QString path(const QString& relative = {}) const {
        return relative.isEmpty() ? tree.path() : tree.filePath(relative);
    }
    void makeFile(const QString& relative) {
        QFile f(path(relative));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    void makeFolder(const QString& relative) { QVERIFY(QDir(tree.path()).mkpath(relative)); }
    QString setteiPath() const { return tree.filePath("settei.ini"); }
    QByteArray settei() const { return test::readFile(setteiPath()); }

    frmOption* openDialog() {
        forms.show(FormId::Option);
        return forms.loadedAs<frmOption>(FormId::Option);
    }

    QTemporaryDir tree;
    test::FakeServices services;
    core::Module1 module1{services, tree.filePath("settei.ini").toStdString()};
    ui::Forms forms{services};

private:
    QString previousDir_;
};

QListWidget* dirList(const frmOption* d) {
    return control<QListWidget>(d, "dir_name");
}
QListWidget* fileList(const frmOption* d) {
    return control<QListWidget>(d, "File_name");
}
QComboBox* driveList(const frmOption* d) {
    return control<QComboBox>(d, "Drv_name");
}
QLabel* label(const frmOption* d, int slot) {
    return control<QLabel>(d, ("Label" + std::to_string(slot)).c_str());
}

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Opens `folder` in dir_name as the user does: its row made current, Enter.
bool openFolder(frmOption* d, const QString& folder) {
    QListWidget* list = dirList(d);
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->data(Qt::UserRole).toString() == folder) {
            list->setCurrentRow(i);
            QTest::keyClick(list, Qt::Key_Return);
            return true;
        }
    }
    return false;
}

// Clicks `name` in File_name; false when it is not listed.
bool pickFile(frmOption* d, const QString& name) {
    QListWidget* list = fileList(d);
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    list->scrollToItem(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.front()).center());
    return found.front()->isSelected();
}

void press(frmOption* d, const char* button) {
    QTest::mouseClick(control<QPushButton>(d, button), Qt::LeftButton);
}

void chooseSlot(frmOption* d, int slot) {
    QTest::mouseClick(control<QRadioButton>(d, ("Option" + std::to_string(slot)).c_str()),
                      Qt::LeftButton);
}

QByteArray latin1(const QString& s) {
    return s.toLatin1();
}

} // namespace

class TestOptionDialog : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void window();
    void tabOrderAndNoDefaultButton();
    void keyboardChoosesSlot();
    void startsOnCurrentFolder();
    void loadShowsRegisteredSlots();
    void loadFailureKeepsRunning();
    void registersIntoEachSlot_data();
    void registersIntoEachSlot();
    void rootKeepsItsSingleSeparator();
    void overwritesWithoutQuestion();
    void reset_data();
    void reset();
    void resetFailure();
    void refusesWhatCouldNotStart_data();
    void refusesWhatCouldNotStart();
    void exePatternIgnoresCase();
    void browsingMovesBothLists();
    void unreadableFolder_data();
    void unreadableFolder();
    void driveChangeMovesBothLists();
    void unreadableDrive();
    void roundTrip_data();
    void roundTrip();
};

void TestOptionDialog::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("points"); // 0: the dialog's own font
    QTest::addColumn<QString>("toolTip");

    const auto row = [](const char* name, const char* cls, const char* parent, QRect r,
                        const QString& caption, double points, const QString& tip = {}) {
        QTest::newRow(name) << name << cls << parent << r << caption << points << tip;
    };
    row("Option3", "QRadioButton", "frmOption", {192, 32, 73, 25}, "ボタン３", 9);
    row("Option2", "QRadioButton", "frmOption", {104, 32, 81, 25}, "ボタン２", 9);
    row("Option1", "QRadioButton", "frmOption", {24, 32, 81, 25}, "ボタン１", 9);
    row("File_name", "QListWidget", "frmOption", {288, 112, 161, 78}, {}, 0);
    row("Drv_name", "QComboBox", "frmOption", {288, 8, 161, 20}, {}, 0);
    row("dir_name", "QListWidget", "frmOption", {288, 32, 161, 76}, {}, 0);
    row("reset", "QPushButton", "frmOption", {152, 128, 105, 33}, "初期設定(&S)", 9,
        "各ボタンへの登録を抹消します。");
    row("Frame1", "QGroupBox", "frmOption", {136, 104, 137, 73}, "初期設定に戻す", 9);
    row("Cancel_but", "QPushButton", "frmOption", {16, 144, 97, 33}, "戻る(&R)", 9,
        "ランチャー画面へと戻ります。");
    row("touroku", "QPushButton", "frmOption", {16, 104, 97, 33}, "登録(&T)", 9);
    row("Frame2", "QGroupBox", "frmOption", {8, 16, 273, 73}, "ボタン番号選択", 9);
    row("Label3", "QLabel", "Frame2", {192, 40, 73, 17}, "未登録", 9.75);
    row("Label1", "QLabel", "Frame2", {24, 40, 73, 17}, "未登録", 9.75);
    row("Label2", "QLabel", "Frame2", {104, 40, 73, 17}, "未登録", 9.75);
}

void TestOptionDialog::layout() {
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(double, points);
    QFETCH(QString, toolTip);

    Bench bench;
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QWidget* w = d->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), className);
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(w->toolTip(), toolTip);
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        QCOMPARE(b->text(), caption);
    else if (auto* l = qobject_cast<QLabel*>(w))
        QCOMPARE(l->text(), caption);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        QCOMPARE(g->title(), caption);
    if (points == 0) {
        QVERIFY(!w->testAttribute(Qt::WA_SetFont));
    } else {
        QCOMPARE(w->font().family(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(w->font().pointSizeF(), points);
        QVERIFY(!w->font().bold());
        QVERIFY(!w->font().italic());
    }
}

void TestOptionDialog::window() {
    Bench bench;
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QVERIFY(d->isVisible());
    QCOMPARE(d->windowTitle(), QStringLiteral("登録フォーム"));
    QCOMPARE(d->size(), QSize(455, 196));
    const Qt::WindowFlags flags = d->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
    QVERIFY2((d->geometry().center() - centre).manhattanLength() <= 1,
             qPrintable(QStringLiteral("centre at %1,%2")
                            .arg(d->geometry().center().x())
                            .arg(d->geometry().center().y())));
    // The option buttons and reset lie over the frames, so they take the clicks.
    for (const char* name : {"Option1", "Option2", "Option3", "reset"}) {
        QWidget* w = control<QWidget>(d, name);
        QCOMPARE(d->childAt(w->geometry().center()), w);
    }
    QVERIFY(control<QRadioButton>(d, "Option1")->isChecked());
    QVERIFY(!control<QRadioButton>(d, "Option2")->isChecked());
    QVERIFY(!control<QRadioButton>(d, "Option3")->isChecked());
}

void TestOptionDialog::tabOrderAndNoDefaultButton() {
    Bench bench;
    bench.makeFile("a.exe");
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    const QStringList expected{"reset",     "touroku", "Cancel_but", "dir_name", "Drv_name",
                               "File_name", "Option1", "Option2",    "Option3"};
    // The dialog opens with the focus on reset; Tab walks the tab indexes and
    // enters the slot buttons at the chosen one.
    QVERIFY(QTest::qWaitForWindowActive(d));
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"reset", "touroku", "Cancel_but", "dir_name", "Drv_name",
                                 "File_name", "Option1", "reset"}));
    // Without a focus walk, the chain holds every slot button in order.
    order.clear();
    QWidget* w = control<QWidget>(d, "reset");
    do {
        if (expected.contains(w->objectName()))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != control<QWidget>(d, "reset"));
    QCOMPARE(order, expected);

    for (QPushButton* b : d->findChildren<QPushButton*>()) {
        QVERIFY2(!b->isDefault() && !b->autoDefault(), qPrintable(b->objectName()));
    }
    // Enter on a focused button or in the file list presses nothing.
    QVERIFY(pickFile(d, "a.exe"));
    QTest::keyClick(fileList(d), Qt::Key_Return);
    QTest::keyClick(control<QPushButton>(d, "touroku"), Qt::Key_Return);
    QTest::keyClick(d, Qt::Key_Enter);
    QCOMPARE(bench.services.beeps, 0);
    QVERIFY(bench.services.messages.empty());
    QCOMPARE(bench.settei(), QByteArray());
    QVERIFY(bench.forms.loaded(FormId::Option));
}

void TestOptionDialog::keyboardChoosesSlot() {
    Bench bench;
    bench.makeFile("a.exe");
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QVERIFY(QTest::qWaitForWindowActive(d));
    // Tab from the file list reaches the chosen slot button; the arrow keys
    // then choose another slot.
    fileList(d)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(fileList(d), Qt::Key_Space);
    QCOMPARE(fileList(d)->selectedItems().size(), 1);
    QTest::keyClick(fileList(d), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(d, "Option1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QVERIFY(control<QRadioButton>(d, "Option2")->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QVERIFY(control<QRadioButton>(d, "Option3")->isChecked());
    QTest::keyClick(d, Qt::Key_T, Qt::AltModifier);
    QTRY_COMPARE_WITH_TIMEOUT(bench.services.beeps, 1, 5000);
    QCOMPARE(bench.settei(),
             QByteArray(400, '\0') + recordBytes(latin1(bench.path() + "/"), "a.exe"));
}

void TestOptionDialog::startsOnCurrentFolder() {
    Bench bench;
    bench.makeFolder("sub");
    bench.makeFile("a.exe");
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    const QString here = QDir::currentPath();
    QCOMPARE(d->dirPath(), here);
    QCOMPARE(d->filePath(), here);
    QListWidget* dirs = dirList(d);
    QCOMPARE(dirs->currentItem()->data(Qt::UserRole).toString(), here);
    QCOMPARE(dirs->item(0)->text(), QStringLiteral("/"));
    QCOMPARE(dirs->item(dirs->count() - 1)->text(), QStringLiteral("sub"));
    QCOMPARE(texts(fileList(d)), QStringList{"a.exe"});
    QVERIFY(fileList(d)->selectedItems().isEmpty());
    QVERIFY(driveList(d)->count() >= 1);
    QCOMPARE(driveList(d)->currentData().toString(), QStorageInfo(here).rootPath());
}

void TestOptionDialog::loadShowsRegisteredSlots() {
    Bench bench;
    // Slot 1 reset, slot 2 an eleven-character name, slot 3 never written.
    test::writeFile(bench.setteiPath(), QByteArray(100, ' ') + QByteArray(100, '\0') +
                                            recordBytes("/usr/bin/", "notepad.exe"));
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QCOMPARE(label(d, 1)->text(), kUnregistered);
    QCOMPARE(label(d, 2)->text(), QStringLiteral("notepad.ex"));
    QCOMPARE(label(d, 3)->text(), kUnregistered);
    QVERIFY(bench.services.messages.empty());
}

void TestOptionDialog::loadFailureKeepsRunning() {
    Bench bench;
    bench.services.failRecordOpen = true;
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QCOMPARE(bench.services.messages.size(), 1u);
    QCOMPARE(QString::fromStdString(bench.services.messages[0].prompt), kRegisterError);
    QCOMPARE(bench.services.messages[0].style, 16);
    QCOMPARE(bench.services.messages[0].title, std::string("ZAVO_launcher"));
    for (int n = 1; n <= 3; ++n)
        QCOMPARE(label(d, n)->text(), kUnregistered);
    QVERIFY(d->isVisible());
}

void TestOptionDialog::registersIntoEachSlot_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<QString>("caption");

    QTest::newRow("slot 1") << 1 << "hello.exe" << QByteArray("hello.exe") << "hello.exe ";
    QTest::newRow("slot 2, eleven characters")
        << 2 << "notepad.exe" << QByteArray("notepad.exe") << "notepad.ex";
    QTest::newRow("slot 3, katakana")
        << 3 << QStringLiteral("テスト.exe") << QByteArray("\x83\x65\x83\x58\x83\x67.exe")
        << QStringLiteral("テスト.exe   ");
}

void TestOptionDialog::registersIntoEachSlot() {
    QFETCH(int, slot);
    QFETCH(QString, file);
    QFETCH(QByteArray, fileBytes);
    QFETCH(QString, caption);

    Bench bench;
    bench.makeFolder("apps");
    bench.makeFile("apps/" + file);
    bench.makeFile("apps/other.exe");
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QVERIFY(openFolder(d, bench.path("apps")));
    QCOMPARE(d->filePath(), bench.path("apps"));
    QVERIFY(pickFile(d, file));
    chooseSlot(d, slot);
    press(d, "touroku");

    const QByteArray dir = latin1(bench.path("apps") + "/");
    QCOMPARE(bench.settei(), QByteArray((slot - 1) * 200, '\0') + recordBytes(dir, fileBytes));
    for (int n = 1; n <= 3; ++n)
        QCOMPARE(label(d, n)->text(), n == slot ? caption : kUnregistered);
    QVERIFY(bench.services.messages.empty());
    QCOMPARE(bench.services.beeps, 1);
    // Browsing left the working directory where it was.
    QCOMPARE(QDir::currentPath(), bench.path());
}

void TestOptionDialog::rootKeepsItsSingleSeparator() {
    Bench bench;
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QVERIFY(openFolder(d, QStringLiteral("/")));
    QCOMPARE(d->filePath(), QStringLiteral("/"));
    // The root holds no program of ours; the name stands in the list as one
    // found there would.
    fileList(d)->addItem(QStringLiteral("probe.exe"));
    QVERIFY(pickFile(d, QStringLiteral("probe.exe")));
    press(d, "touroku");
    QCOMPARE(bench.settei(), recordBytes("/", "probe.exe"));
    QCOMPARE(label(d, 1)->text(), QStringLiteral("probe.exe "));
    QCOMPARE(bench.services.beeps, 1);
}

void TestOptionDialog::overwritesWithoutQuestion() {
    Bench bench;
    const QByteArray before = recordBytes("/opt/a/", "first.exe") +
                              recordBytes("/opt/b/", "old.exe") +
                              recordBytes("/opt/c/", "third.exe");
    test::writeFile(bench.setteiPath(), before);
    bench.makeFile("new.exe");
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QCOMPARE(label(d, 2)->text(), QStringLiteral("old.exe   "));
    QVERIFY(pickFile(d, "new.exe"));
    chooseSlot(d, 2);
    press(d, "touroku");
    QVERIFY(bench.services.messages.empty());
    QCOMPARE(bench.services.beeps, 1);
    QCOMPARE(bench.settei(), before.left(200) + recordBytes(latin1(bench.path() + "/"), "new.exe") +
                                 before.mid(400));
    QCOMPARE(label(d, 1)->text(), QStringLiteral("first.exe "));
    QCOMPARE(label(d, 2)->text(), QStringLiteral("new.exe   "));
    QCOMPARE(label(d, 3)->text(), QStringLiteral("third.exe "));
}

void TestOptionDialog::reset_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(platform::vbYes);
    QTest::newRow("no") << int(platform::vbNo);
}

void TestOptionDialog::reset() {
    QFETCH(int, answer);
    Bench bench;
    const QByteArray before = recordBytes("/opt/a/", "first.exe") +
                              recordBytes("/opt/b/", "second.exe") +
                              recordBytes("/opt/c/", "third.exe");
    test::writeFile(bench.setteiPath(), before);
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    bench.services.answers = {answer};
    press(d, "reset");

    QCOMPARE(bench.services.messages.size(), 1u);
    QCOMPARE(QString::fromStdString(bench.services.messages[0].prompt),
             QStringLiteral("登録状況をリセットしますか？"));
    QCOMPARE(bench.services.messages[0].style, 4);
    QCOMPARE(bench.services.messages[0].title, std::string("ZAVO_launcher"));
    if (answer == platform::vbYes) {
        const QByteArray blank = QByteArray(100, ' ') + QByteArray(100, '\0');
        QCOMPARE(bench.settei(), blank + blank + blank);
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(label(d, n)->text(), kUnregistered);
        QCOMPARE(bench.services.beeps, 1);
    } else {
        QCOMPARE(bench.settei(), before);
        QCOMPARE(label(d, 1)->text(), QStringLiteral("first.exe "));
        QCOMPARE(label(d, 2)->text(), QStringLiteral("second.exe"));
        QCOMPARE(label(d, 3)->text(), QStringLiteral("third.exe "));
        QCOMPARE(bench.services.beeps, 0);
    }
}

void TestOptionDialog::resetFailure() {
    Bench bench;
    const QByteArray before = recordBytes("/opt/a/", "first.exe");
    test::writeFile(bench.setteiPath(), before);
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    bench.services.answers = {platform::vbYes};
    bench.services.failRecordOpen = true;
    press(d, "reset");
    QCOMPARE(bench.services.messages.size(), 2u);
    QCOMPARE(QString::fromStdString(bench.services.messages[1].prompt), kRegisterError);
    QCOMPARE(bench.services.messages[1].style, 16);
    QCOMPARE(bench.settei(), before);
    QCOMPARE(label(d, 1)->text(), QStringLiteral("first.exe "));
    QCOMPARE(bench.services.beeps, 0);
    QVERIFY(bench.forms.loaded(FormId::Option));
}

void TestOptionDialog::refusesWhatCouldNotStart_data() {
    QTest::addColumn<QString>("folder");    // under the tree; "" for the tree itself
    QTest::addColumn<int>("folderBytes");   // >0: a folder of `a`s whose path takes this many
    QTest::addColumn<QString>("file");      // "" selects nothing
    QTest::addColumn<QByteArray>("stored"); // exe_name bytes; empty: refused

    QTest::newRow("no file selected") << "" << 0 << "" << QByteArray();
    QTest::newRow("file name of 20 bytes")
        << "" << 0 << "abcdefghijklmnop.exe" << QByteArray("abcdefghijklmnop.exe");
    QTest::newRow("file name of 21 bytes") << "" << 0 << "abcdefghijklmnopq.exe" << QByteArray();
    QTest::newRow("double-byte name of 20 bytes")
        << "" << 0 << QStringLiteral("テストテストテス.exe")
        << QByteArray("\x83\x65\x83\x58\x83\x67\x83\x65\x83\x58\x83\x67\x83\x65\x83\x58.exe");
    QTest::newRow("double-byte name of 22 bytes (13 characters)")
        << "" << 0 << QStringLiteral("テストテストテスト.exe") << QByteArray();
    QTest::newRow("file name outside code page 932")
        << "" << 0 << QStringLiteral("한글.exe") << QByteArray();
    QTest::newRow("folder of 80 bytes") << "" << 80 << "x.exe" << QByteArray("x.exe");
    QTest::newRow("folder of 81 bytes") << "" << 81 << "x.exe" << QByteArray();
    QTest::newRow("folder outside code page 932")
        << QStringLiteral("한") << 0 << "x.exe" << QByteArray();
}

void TestOptionDialog::refusesWhatCouldNotStart() {
    QFETCH(QString, folder);
    QFETCH(int, folderBytes);
    QFETCH(QString, file);
    QFETCH(QByteArray, stored);

    Bench bench;
    if (folderBytes > 0) {
        const int length = folderBytes - int(bench.path().size()) - 2; // two separators
        QVERIFY(length > 0);
        folder = QString(length, u'a');
    }
    if (!folder.isEmpty())
        bench.makeFolder(folder);
    const QString where = folder.isEmpty() ? bench.path() : bench.path(folder);
    const QString program = file.isEmpty() ? QStringLiteral("a.exe") : file;
    bench.makeFile(folder.isEmpty() ? program : folder + "/" + program);
    const QByteArray before = recordBytes("/opt/a/", "old.exe");
    test::writeFile(bench.setteiPath(), before);

    frmOption* d = bench.openDialog();
    QVERIFY(d);
    if (!folder.isEmpty())
        QVERIFY(openFolder(d, where));
    QCOMPARE(d->filePath(), where);
    if (!file.isEmpty())
        QVERIFY(pickFile(d, file));
    press(d, "touroku");

    if (stored.isEmpty()) {
        QCOMPARE(bench.services.messages.size(), 1u);
        QCOMPARE(QString::fromStdString(bench.services.messages[0].prompt), kRegisterError);
        QCOMPARE(bench.services.messages[0].style, 16);
        QCOMPARE(bench.services.beeps, 0);
        QCOMPARE(bench.settei(), before);
        QCOMPARE(label(d, 1)->text(), QStringLiteral("old.exe   "));
    } else {
        const QByteArray dir = latin1(where + "/");
        if (folderBytes > 0)
            QCOMPARE(dir.size(), folderBytes);
        QVERIFY(bench.services.messages.empty());
        QCOMPARE(bench.services.beeps, 1);
        QCOMPARE(bench.settei(), recordBytes(dir, stored));
    }
}

void TestOptionDialog::exePatternIgnoresCase() {
    Bench bench;
    for (const char* name : {"a.EXE", "b.Exe", "e.exe", "c.txt", "exe", "f.exe.txt"})
        bench.makeFile(name);
    bench.makeFolder("d.exe");
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QCOMPARE(texts(fileList(d)), (QStringList{"a.EXE", "b.Exe", "e.exe"}));
    QVERIFY(fileList(d)->selectedItems().isEmpty());
    // The folder named like a program is a folder all the same.
    QVERIFY(openFolder(d, bench.path("d.exe")));
    QCOMPARE(texts(fileList(d)), QStringList());
}

void TestOptionDialog::browsingMovesBothLists() {
    Bench bench;
    bench.makeFolder("one/two");
    bench.makeFile("one/two/deep.exe");
    bench.makeFile("top.exe");
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QVERIFY(openFolder(d, bench.path("one")));
    QVERIFY(openFolder(d, bench.path("one/two")));
    QCOMPARE(d->dirPath(), bench.path("one/two"));
    QCOMPARE(texts(fileList(d)), QStringList{"deep.exe"});
    // Back up through the ancestor rows.
    QVERIFY(openFolder(d, bench.path()));
    QCOMPARE(texts(fileList(d)), QStringList{"top.exe"});
    QCOMPARE(dirList(d)->currentItem()->data(Qt::UserRole).toString(), bench.path());
    QCOMPARE(QDir::currentPath(), bench.path());
    QVERIFY(bench.services.messages.empty());
}

void TestOptionDialog::unreadableFolder_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("removed") << "removed";
    QTest::newRow("replaced by a file") << "file";
    QTest::newRow("no permission") << "chmod";
}

void TestOptionDialog::unreadableFolder() {
    QFETCH(QString, how);
    if (how == "chmod" && ::geteuid() == 0)
        QSKIP("running as root, which may read any folder whatever its mode");

    Bench bench;
    bench.makeFolder("apps");
    bench.makeFile("apps/first.exe");
    bench.makeFolder("apps/locked");
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QVERIFY(openFolder(d, bench.path("apps")));
    const QString locked = bench.path("apps/locked");
    if (how == "removed") {
        QVERIFY(QDir(locked).removeRecursively());
    } else if (how == "file") {
        QVERIFY(QDir(locked).removeRecursively());
        bench.makeFile("apps/locked");
    } else {
        QVERIFY(QFile::setPermissions(locked, {}));
    }
    QVERIFY(openFolder(d, locked));
    if (how == "chmod")
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(bench.services.messages.size(), 1u);
    QCOMPARE(QString::fromStdString(bench.services.messages[0].prompt), kReadError);
    QCOMPARE(bench.services.messages[0].style, 16);
    QCOMPARE(bench.services.messages[0].title, std::string("ZAVO_launcher"));
    QCOMPARE(d->filePath(), bench.path("apps"));
    QCOMPARE(d->dirPath(), bench.path("apps"));
    QCOMPARE(texts(fileList(d)), QStringList{"first.exe"});
    // Still usable: the previous folder registers as before.
    QVERIFY(pickFile(d, "first.exe"));
    press(d, "touroku");
    QCOMPARE(bench.settei(), recordBytes(latin1(bench.path("apps") + "/"), "first.exe"));
}

void TestOptionDialog::driveChangeMovesBothLists() {
    Bench bench;
    bench.makeFolder("sub");
    bench.makeFolder("vol/inner");
    bench.makeFile("vol/v.exe");
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    QVERIFY(openFolder(d, bench.path("sub")));
    const QString home = driveList(d)->currentData().toString();
    // A folder of the tree stands in for a second volume.
    const QString volume = bench.path("vol");
    driveList(d)->addItem(volume, volume);
    driveList(d)->setCurrentIndex(driveList(d)->count() - 1);
    QCOMPARE(driveList(d)->currentData().toString(), volume);
    QCOMPARE(d->dirPath(), volume);
    QCOMPARE(d->filePath(), volume);
    QCOMPARE(texts(fileList(d)), QStringList{"v.exe"});
    QCOMPARE(dirList(d)->item(dirList(d)->count() - 1)->text(), QStringLiteral("inner"));
    // Back on the first drive, its folder is the one last shown there.
    driveList(d)->setCurrentIndex(driveList(d)->findData(home));
    QCOMPARE(d->dirPath(), bench.path("sub"));
    QCOMPARE(texts(fileList(d)), QStringList());
    QVERIFY(bench.services.messages.empty());
    QCOMPARE(QDir::currentPath(), bench.path());
}

void TestOptionDialog::unreadableDrive() {
    Bench bench;
    bench.makeFile("here.exe");
    frmOption* d = bench.openDialog();
    QVERIFY(d);
    const QString missing = bench.path("no-medium");
    driveList(d)->addItem(missing, missing);
    driveList(d)->setCurrentIndex(driveList(d)->count() - 1);
    QCOMPARE(bench.services.messages.size(), 1u);
    QCOMPARE(QString::fromStdString(bench.services.messages[0].prompt), kReadError);
    QCOMPARE(driveList(d)->currentData().toString(), missing);
    QCOMPARE(d->dirPath(), bench.path());
    QCOMPARE(d->filePath(), bench.path());
    QCOMPARE(texts(fileList(d)), QStringList{"here.exe"});
}

void TestOptionDialog::roundTrip_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("戻る button") << "button";
    QTest::newRow("close box") << "close";
    QTest::newRow("Esc") << "esc";
    QTest::newRow("Alt+R") << "alt+r";
}

void TestOptionDialog::roundTrip() {
    QFETCH(QString, how);
    Bench bench;
    bench.makeFile("hello.exe");
    QSignalSpy ended(&bench.forms, &ui::Forms::lastFormUnloaded);
    bench.forms.show(FormId::Launcher);
    auto* launcher = bench.forms.loadedAs<ui::ZAVO_launcher>(FormId::Launcher);
    QVERIFY(launcher);
    QCOMPARE(launcher->Command1(7)->text(), QStringLiteral("２：未登録"));

    launcher->opt_Click();
    QVERIFY(!bench.forms.loaded(FormId::Launcher));
    QPointer<frmOption> d = bench.forms.loadedAs<frmOption>(FormId::Option);
    QVERIFY(d);
    QVERIFY(d->isVisible());
    QVERIFY(pickFile(d, "hello.exe"));
    chooseSlot(d, 2);
    press(d, "touroku");
    QCOMPARE(bench.services.beeps, 1);

    if (how == "button")
        press(d, "Cancel_but");
    else if (how == "close")
        d->close();
    else if (how == "esc")
        QTest::keyClick(d, Qt::Key_Escape);
    else {
        // Access keys act in the active window only.
        QVERIFY(QTest::qWaitForWindowActive(d));
        QTest::keyClick(d, Qt::Key_R, Qt::AltModifier);
    }

    // An access key clicks its button the way a mouse does, after the
    // button has been shown pressed for a moment.
    QTRY_VERIFY_WITH_TIMEOUT(!bench.forms.loaded(FormId::Option), 5000);
    launcher = bench.forms.loadedAs<ui::ZAVO_launcher>(FormId::Launcher);
    QVERIFY(launcher);
    QVERIFY(launcher->isVisible());
    QCOMPARE(launcher->Command1(7)->text(), QStringLiteral("hello.exe "));
    QCOMPARE(launcher->Command1(6)->text(), QStringLiteral("１：未登録"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QVERIFY(d.isNull());
    QCOMPARE(ended.count(), 0);
    QVERIFY(bench.services.messages.empty());
}

QTEST_MAIN(TestOptionDialog)
#include "test_option_dialog.moc"
