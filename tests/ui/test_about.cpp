// The About window's widgets: layout, picture, keys, and that the view hands
// its events to the form.
#include "support/qt_program.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

using namespace zavo;
using test::QtProgram;

namespace {

bool strokesHidden(ui::AboutWindow* about) {
    for (int i = 0; i < 5; ++i)
        if (!about->findChild<QWidget*>(QStringLiteral("Line1_%1").arg(i))->isHidden())
            return false;
    return true;
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void layoutThenMouseMove();
    void keysAndDefaultButton_data();
    void keysAndDefaultButton();
};

void TestAbout::layoutThenMouseMove() {
    QtProgram p;
    ui::AboutWindow* a = p.openByMenu<ui::AboutWindow>("about", forms::FormId::About);
    QVERIFY(a);
    QCOMPARE(a->windowTitle(), QStringLiteral("ZAVO_launcherのバージョン情報"));
    QCOMPARE(a->geometry(), QRect(686, 382, 318, 213));
    test::checkRows(a, test::sheetRows(forms::kAboutControls, {"Label2", "Label3"}));
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(a->Picture1()->pixmap().size(), QSize(48, 33));
    QCOMPARE(test::accessibleName(a->Picture1()), QStringLiteral("ロケットの絵"));
    QVERIFY(strokesHidden(a));
    QCOMPARE(test::focusChain(a->OK_but(), 1), QStringList{"OK_but"});

    // A mouse move reaches the form: the picture shakes and is put back.
    struct Count : QObject {
        int moves = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            moves += e->type() == QEvent::Move;
            return false;
        }
    } count;
    a->Picture1()->installEventFilter(&count);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), a->Picture1()->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(a->Picture1(), &move);
    QVERIFY(count.moves > 100); // it shook
    QCOMPARE(a->Picture1()->pos(), QPoint(16, 16));
    QVERIFY(strokesHidden(a));
}

void TestAbout::keysAndDefaultButton_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
    QTest::newRow("close box") << 0; // goes through the form as well
}

void TestAbout::keysAndDefaultButton() {
    QFETCH(int, key);
    QtProgram p;
    ui::AboutWindow* a = p.openByMenu<ui::AboutWindow>("about", forms::FormId::About);
    QVERIFY(a->OK_but()->isDefault());
    QVERIFY(QTest::qWaitForWindowActive(a));
    QCOMPARE(QApplication::focusWidget(), a->OK_but());
    ui::LauncherWindow* launcher = p.launcher();
    if (key)
        QTest::keyClick(a, Qt::Key(key));
    else
        QVERIFY(!a->close());
    QVERIFY(!p.about());
    QCOMPARE(p.launcher(), launcher); // shown again, not reloaded
    QVERIFY(launcher->isVisible());
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
