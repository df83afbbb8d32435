// The clock line of the main window, on the recording fake's clock.
#include "core/module1.h"
#include "support/fake_services.h"
#include "ui/form.h"
#include "ui/frm_option.h"
#include "ui/launcher_app.h"
#include "ui/zavo_launcher.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace zavo;
using ui::FormId;
using ui::ZAVO_launcher;

namespace {

const QString kExample = QStringLiteral("2003/10/01 （水） 9:05:07");
constexpr int kWait = 5000;

struct Run {
    explicit Run(const QString& folder)
        : module1(fake, QDir(folder).filePath("settei.ini").toStdString()), forms(fake) {
        ui::registerForms(forms, module1);
    }
    ZAVO_launcher* launcher() const { return forms.loadedAs<ZAVO_launcher>(FormId::Launcher); }
    QString clockText() const { return launcher()->time_display()->text(); }

    test::FakeServices fake;
    core::Module1 module1;
    ui::Forms forms;
};

// Counts the paint events of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestClock : public QObject {
    Q_OBJECT
private slots:
    void init();
    void emptyUntilTheFirstTick();
    void emptyAgainAfterAReload();
    void sameTextPaintsNothing();
    void ticksWhileHidden();

private:
    QTemporaryDir folder_;
};

void TestClock::init() {
    QVERIFY(folder_.isValid());
}

void TestClock::emptyUntilTheFirstTick() {
    Run run(folder_.path());
    run.forms.show(FormId::Launcher);
    QVERIFY(run.launcher());
    QCOMPARE(run.clockText(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(run.clockText(), kExample, kWait);
}

void TestClock::emptyAgainAfterAReload() {
    Run run(folder_.path());
    run.forms.show(FormId::Launcher);
    QTRY_COMPARE_WITH_TIMEOUT(run.clockText(), kExample, kWait);

    // opt unloads the main window; the dialog's Cancel loads it afresh.
    run.launcher()->opt_Click();
    QVERIFY(!run.launcher());
    auto* option = run.forms.loadedAs<ui::frmOption>(FormId::Option);
    QVERIFY(option);
    option->Cancel_but_Click();
    QVERIFY(run.launcher());
    QCOMPARE(run.clockText(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(run.clockText(), kExample, kWait);
}

void TestClock::sameTextPaintsNothing() {
    Run run(folder_.path());
    run.forms.show(FormId::Launcher);
    QVERIFY(QTest::qWaitForWindowExposed(run.launcher()));
    QTRY_COMPARE_WITH_TIMEOUT(run.clockText(), kExample, kWait);
    QLabel* label = run.launcher()->time_display();
    PaintCounter counter(label);
    QTest::qWait(100); // the first text is drawn by now

    // Ticks with the same text draw nothing.
    counter.paints = 0;
    const int before = static_cast<int>(run.fake.calls.count(QStringLiteral("now")));
    run.launcher()->Timer1_Timer();
    QTRY_VERIFY_WITH_TIMEOUT(run.fake.calls.count(QStringLiteral("now")) >= before + 3, kWait);
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 0);
    QCOMPARE(run.clockText(), kExample);

    // A changed text is drawn, so the count above could have seen one.
    run.fake.clock = {{2003, 10, 1, 9, 5, 8}};
    QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 0, kWait);
    QCOMPARE(run.clockText(), QStringLiteral("2003/10/01 （水） 9:05:08"));
}

void TestClock::ticksWhileHidden() {
    Run run(folder_.path());
    run.forms.show(FormId::Launcher);
    QTRY_COMPARE_WITH_TIMEOUT(run.clockText(), kExample, kWait);
    run.forms.hide(FormId::Launcher);
    QVERIFY(!run.launcher()->isVisible());
    run.fake.clock = {{2003, 10, 4, 23, 59, 59}};
    QTRY_COMPARE_WITH_TIMEOUT(run.clockText(), QStringLiteral("2003/10/04 （土） 23:59:59"), kWait);
    run.launcher()->showMinimized();
    run.fake.clock = {{2003, 10, 5, 0, 0, 0}};
    QTRY_COMPARE_WITH_TIMEOUT(run.clockText(), QStringLiteral("2003/10/05 （日） 0:00:00"), kWait);
}

QTEST_MAIN(TestClock)
#include "test_clock.moc"
