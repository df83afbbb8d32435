// Ctrl+P through XTest: it reaches the focused window of a private Xvfb, and
// without an X11 display the call fails instead of crashing. The X side runs
// in a child copy of this binary, started with the session's DISPLAY.
#include "platform/posix/xtest_keys.h"
#include "support/x_session.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <cstring>

namespace {

constexpr const char* kChildArg = "--receive-ctrl-p";

class KeyRecorder : public QWidget {
public:
    bool gotCtrlP = false;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_P && e->modifiers() == Qt::ControlModifier)
            gotCtrlP = true;
    }
};

// Exit code 0: Ctrl+P arrived after the call returned true.
int receiveCtrlP(int argc, char* argv[]) {
    QApplication app(argc, argv);
    KeyRecorder window;
    window.setWindowTitle(QStringLiteral("xtest receiver"));
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window, 20000))
        return 2;
    if (!zavo::platform::xtestSendKeys("^p", true))
        return 3;
    for (int i = 0; i < 400 && !window.gotCtrlP; ++i)
        QTest::qWait(50);
    return window.gotCtrlP ? 0 : 4;
}

} // namespace

class TestXtestKeys : public QObject {
    Q_OBJECT
private slots:
    void ctrlPReachesTheFocusedWindow();
    void failsWithoutAnX11Display();
};

void TestXtestKeys::ctrlPReachesTheFocusedWindow() {
    zavo::test::XSession x;
    ZAVO_REQUIRE_X_SESSION(x);
    QProcess child;
    QProcessEnvironment env = x.environment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildArg)});
    QVERIFY(child.waitForStarted(10000));
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
}

void TestXtestKeys::failsWithoutAnX11Display() {
    // This process runs on the offscreen platform: there is no X11 display.
    QVERIFY(!zavo::platform::xtestSendKeys("^p", true));
}

int main(int argc, char* argv[]) {
    if (argc > 1 && std::strcmp(argv[1], kChildArg) == 0)
        return receiveCtrlP(argc, argv);
    QApplication app(argc, argv);
    TestXtestKeys test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_xtest_keys.moc"
