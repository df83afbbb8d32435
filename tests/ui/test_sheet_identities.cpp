// Every control of every design sheet is found by its identity in the Qt
// views: the widget of each row carries the row's name, is of the row's
// kind and lies in the row's frame; a row that is not there ends the
// program, in every build type.
#include "support/child_process.h"
#include "support/qt_program.h"
#include "ui/qt/line_control.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <csignal>
#include <map>
#include <sys/wait.h>

using namespace zavo;
using forms::Kind;

namespace {

// The widget class each kind of control is made as.
const std::map<Kind, const char*> kClassOf{
    {Kind::Button, "QPushButton"},   {Kind::Label, "QLabel"},
    {Kind::Picture, "QLabel"},       {Kind::Frame, "QGroupBox"},
    {Kind::Option, "QRadioButton"},  {Kind::Line, "zavo::ui::LineControl"},
    {Kind::DriveList, "QComboBox"},  {Kind::DirList, "QListWidget"},
    {Kind::FileList, "QListWidget"},
};

template <class Id, std::size_t N>
void checkIdentities(const ui::SheetWidgets<Id>& controls,
                     const std::array<forms::ControlSpec, N>& rows) {
    for (std::size_t i = 0; i < N; ++i) {
        const forms::ControlSpec& row = rows[i];
        QWidget* w = controls.get(Id(i));
        QCOMPARE(w->objectName(), QString::fromUtf8(row.name));
        QCOMPARE(w->metaObject()->className(), kClassOf.at(row.kind));
        if (row.container != forms::kClientArea)
            QCOMPARE(w->parentWidget(), controls.get(Id(row.container)));
    }
    // Past the last row: the program ends with SIGABRT, whatever the build.
    const test::ChildResult child = test::runInChild([&] {
        controls.get(Id::Count);
        return std::string();
    });
    QVERIFY(child.started);
    QVERIFY(WIFSIGNALED(child.status) && WTERMSIG(child.status) == SIGABRT);
}

} // namespace

class TestSheetIdentities : public QObject {
    Q_OBJECT
private slots:
    void everyRowOfEveryWindow();
};

void TestSheetIdentities::everyRowOfEveryWindow() {
    test::QtProgram p;
    p.start();
    QVERIFY(p.launcher());
    checkIdentities(p.launcher()->controls(), forms::kLauncherControls);
    p.forms->run([&] { p.forms->show(forms::FormId::Option); });
    QVERIFY(p.option());
    checkIdentities(p.option()->controls(), forms::kOptionControls);
    p.forms->run([&] { p.forms->show(forms::FormId::About); });
    QVERIFY(p.about());
    checkIdentities(p.about()->controls(), forms::kAboutControls);
}

QTEST_MAIN(TestSheetIdentities)
#include "test_sheet_identities.moc"
