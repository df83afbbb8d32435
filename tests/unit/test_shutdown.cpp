// exit_windows and the shutdown button, against the recording fake.
#include "core/module1.h"
#include "support/fake_services.h"
#include "support/slot_bytes.h"
#include "ui/form.h"
#include "ui/launcher_app.h"
#include "ui/zavo_launcher.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>
#include <memory>

using namespace zavo;

namespace {

// The launcher loaded and shown on a fake, with slot 1 registered.
struct Launcher {
    explicit Launcher(const QString& folder)
        : module1(fake, (folder + QStringLiteral("/settei.ini")).toStdString()), forms(fake) {
        test::writeFile(folder + QStringLiteral("/settei.ini"),
                        test::recordBytes("C:\\tools\\", "calc.exe") + test::recordBytes("", "") +
                            test::recordBytes("", ""));
        ui::registerForms(forms, module1);
        forms.show(ui::FormId::Launcher);
        window = forms.loadedAs<ui::ZAVO_launcher>(ui::FormId::Launcher);
    }

    QStringList captions() const {
        QStringList c;
        for (int i = 0; i < 9; ++i)
            c << window->Command1(i)->text();
        return c;
    }

    QWidgetList visibleWindows() const {
        QWidgetList shown;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                shown << w;
        return shown;
    }

    test::FakeServices fake;
    core::Module1 module1;
    ui::Forms forms;
    ui::ZAVO_launcher* window = nullptr;
};

} // namespace

class TestShutdown : public QObject {
    Q_OBJECT
private slots:
    void exitWindowsMapsModesToFlags_data();
    void exitWindowsMapsModesToFlags();
    void command2AsksOnceForAPlainShutdown_data();
    void command2AsksOnceForAPlainShutdown();
};

void TestShutdown::exitWindowsMapsModesToFlags_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<bool>("result");
    const QStringList none;
    QTest::newRow("0: no call") << 0 << true << none << false;
    QTest::newRow("1: shutdown") << 1 << true << QStringList{"exit 1 0"} << true;
    QTest::newRow("2: reboot") << 2 << true << QStringList{"exit 2 0"} << true;
    QTest::newRow("3: forced shutdown") << 3 << true << QStringList{"exit 5 0"} << true;
    QTest::newRow("4: forced reboot") << 4 << true << QStringList{"exit 6 0"} << true;
    QTest::newRow("5: no call") << 5 << true << none << false;
    QTest::newRow("-1: no call") << -1 << true << none << false;
    QTest::newRow("257: no call") << 257 << true << none << false;
    QTest::newRow("1 refused") << 1 << false << QStringList{"exit 1 0"} << false;
    QTest::newRow("4 refused") << 4 << false << QStringList{"exit 6 0"} << false;
}

void TestShutdown::exitWindowsMapsModesToFlags() {
    QFETCH(int, mode);
    QFETCH(bool, accepted);
    QFETCH(QStringList, calls);
    QFETCH(bool, result);
    test::FakeServices fake;
    fake.exitAccepted = accepted;
    core::Module1 module1(fake, "unused.ini");
    QCOMPARE(module1.exit_windows(static_cast<std::int16_t>(mode)), result);
    QCOMPARE(fake.calls, calls);
}

void TestShutdown::command2AsksOnceForAPlainShutdown_data() {
    QTest::addColumn<bool>("accepted");
    QTest::newRow("accepted") << true;
    QTest::newRow("refused") << false;
}

void TestShutdown::command2AsksOnceForAPlainShutdown() {
    QFETCH(bool, accepted);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    Launcher l(folder.path());
    QVERIFY(l.window);
    QVERIFY(l.window->isVisible());
    l.fake.exitAccepted = accepted;
    const QStringList captions = l.captions();
    QVERIFY(captions[6].startsWith(QStringLiteral("calc.exe")));
    const QWidgetList shown = l.visibleWindows();
    const qsizetype before = l.fake.calls.size();

    auto* button = l.window->findChild<QPushButton*>(QStringLiteral("Command2"));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();

    // Exactly one request, plain shutdown, reserved 0; nothing else at all.
    QStringList calls = l.fake.calls.mid(before);
    calls.removeAll(QStringLiteral("now")); // clock ticks
    QCOMPARE(calls, QStringList{QStringLiteral("exit 1 0")});
    QVERIFY(l.fake.messages.empty());
    QCOMPARE(l.visibleWindows(), shown);
    QCOMPARE(l.forms.loaded(ui::FormId::Launcher), l.window);
    QVERIFY(l.window->isVisible());
    QCOMPARE(l.captions(), captions);
    QVERIFY(!l.fake.ended);
}

QTEST_MAIN(TestShutdown)
#include "test_shutdown.moc"
