// One shake of the About picture (4000 drawn moves) on a real X display: the
// time from the mouse-move event to the X server having processed every
// drawing request. Run under Xvfb (DISPLAY must be set).
//   bench_shake [runs]
#include "core/module1.h"
#include "core/services.h"
#include "forms/form.h"
#include "ui/qt/about_window.h"
#include "ui/qt/qt_views.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace zavo;

// The About window asks nothing of the platform.
class NoServices final : public platform::Services {
public:
    std::unique_ptr<platform::Process> launch(const std::string&, int, std::string&) override {
        return nullptr;
    }
    bool waitForInputIdle(platform::Process&, int) override { return false; }
    bool sendKeys(std::string_view, bool) override { return true; }
    int messageBox(const std::string&, int, const std::string&) override { return platform::vbOK; }
    void beep() override {}
    bool anotherInstanceRunning() override { return false; }
    void endProgram() override {}
    platform::LocalDateTime now() override { return {}; }
    std::string dateText(const platform::LocalDateTime&) override { return {}; }
    std::string timeText(const platform::LocalDateTime&) override { return {}; }
    std::unique_ptr<platform::RecordFile> openRecordFile(const std::string&,
                                                         std::string& error) override {
        error = "none";
        return nullptr;
    }
    void setWindowPos(platform::WindowHandle, std::intptr_t, int, int, int, int,
                      unsigned) override {}
    bool exitWindowsEx(unsigned, unsigned) override { return false; }
};

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_shake: DISPLAY is not set (run it under Xvfb)\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) {
        std::fprintf(stderr, "bench_shake: no Xlib display\n");
        return 2;
    }

    NoServices services;
    core::Module1 module1(services);
    ui::QtViews views;
    forms::Forms forms(module1, views, [] {});
    forms.run([&] { forms.show(forms::FormId::About); });
    auto* about = dynamic_cast<ui::AboutWindow*>(&forms.loaded(forms::FormId::About)->view());
    if (!about || !QTest::qWaitForWindowExposed(about, 10000)) {
        std::fprintf(stderr, "bench_shake: the About window was not exposed\n");
        return 1;
    }
    QLabel* picture = about->Picture1();

    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QCoreApplication::processEvents();
        XSync(display, False);
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), picture->mapToGlobal(QPointF(5, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QElapsedTimer t;
        t.start();
        QCoreApplication::sendEvent(picture, &move);
        XSync(display, False); // every step has reached the screen
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    const double median =
        ms.size() % 2 ? ms[ms.size() / 2] : (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
    std::printf("shake_ms: %.1f (min %.1f, max %.1f) over %d runs\n", median, ms.front(), ms.back(),
                runs);
    return 0;
}
