// Click to child running: how long after a click on slot button 1 the
// registered program is running, next to plain posix_spawn and
// QProcess::startDetached of the same program; and how long the media
// player's counted wait takes. The main window runs offscreen (or on
// $DISPLAY) with the real Linux launch; every other service is a no-op.
#include "core/counted_wait.h"
#include "core/module1.h"
#include "forms/form.h"
#include "platform/linux/record_file_posix.h"
#include "platform/linux/spawn_launch.h"
#include "ui/qt/launcher_window.h"
#include "ui/qt/qt_views.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using namespace zavo;

long long monotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// Real launch, nothing else.
class LaunchOnlyServices final : public platform::Services {
public:
    std::unique_ptr<platform::Process> launch(const std::string& command, int,
                                              std::string& error) override {
        if (!platform::spawnDetached(command, error))
            return nullptr;
        return std::make_unique<platform::Process>();
    }
    bool waitForInputIdle(platform::Process&, int) override { return false; }
    bool sendKeys(std::string_view, bool) override { return true; }
    int messageBox(const std::string& prompt, int, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", prompt.c_str());
        return platform::vbOK;
    }
    void beep() override {}
    bool anotherInstanceRunning() override { return false; }
    void endProgram() override {}
    platform::LocalDateTime now() override { return {}; }
    std::string dateText(const platform::LocalDateTime&) override { return "2000/03/11"; }
    std::string timeText(const platform::LocalDateTime&) override { return "0:00:00"; }
    std::unique_ptr<platform::RecordFile> openRecordFile(const std::string& name,
                                                         std::string& error) override {
        return platform::openPosixRecordFile(name, error);
    }
    void setWindowPos(platform::WindowHandle, std::intptr_t, int, int, int, int,
                      unsigned) override {}
    bool exitWindowsEx(unsigned, unsigned) override { return false; }
};

struct Stats {
    double median, min, max;
};

Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return {median, v.front(), v.back()};
}

// Runs `start` `runs` times; each time, the delay from just before it to the
// moment the child wrote its stamp, in milliseconds.
std::vector<double> measure(const QString& child, int runs, const std::function<bool()>& start) {
    const QString stampPath = child + QStringLiteral(".stamp");
    std::vector<double> delays;
    for (int i = 0; i < runs; ++i) {
        QFile::remove(stampPath);
        const long long t0 = monotonicNs();
        if (!start()) {
            std::fprintf(stderr, "start failed\n");
            std::exit(1);
        }
        QFile stamp(stampPath);
        const long long deadline = t0 + 10'000'000'000LL;
        while (!stamp.exists()) {
            if (monotonicNs() > deadline) {
                std::fprintf(stderr, "the child never ran\n");
                std::exit(1);
            }
            QCoreApplication::processEvents(); // reaps children through the event loop
            timespec pause{0, 100'000};
            nanosleep(&pause, nullptr);
        }
        if (!stamp.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read the stamp\n");
            std::exit(1);
        }
        const long long t1 = stamp.readAll().trimmed().toLongLong();
        delays.push_back(double(t1 - t0) / 1e6);
        QCoreApplication::processEvents();
    }
    return delays;
}

void print(const char* what, const Stats& s) {
    std::printf("%-44s median %8.3f  min %8.3f  max %8.3f\n", what, s.median, s.min, s.max);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication app(argc, argv);
    constexpr int kRuns = 50;

    // The child lives in a folder of our own; slot 1 names it.
    QTemporaryDir dir;
    const QString child = dir.filePath(QStringLiteral("child_stamp"));
    if (!QFile::copy(QStringLiteral(CHILD_STAMP_BINARY), child)) {
        std::fprintf(stderr, "cannot copy %s\n", CHILD_STAMP_BINARY);
        return 1;
    }
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
    if (folder.size() > 80) {
        std::fprintf(stderr, "temporary folder path too long for a slot\n");
        return 1;
    }
    QByteArray record =
        folder.leftJustified(80, ' ') + QByteArray("child_stamp").leftJustified(20, ' ');
    record += QByteArray(100, '\0');
    const QString settei = dir.filePath(QStringLiteral("settei.ini"));
    {
        QFile f(settei);
        if (!f.open(QIODevice::WriteOnly) || f.write(record) != record.size())
            return 1;
    }

    LaunchOnlyServices services;
    core::Module1 module1(services, settei.toStdString());
    ui::QtViews views;
    forms::Forms forms(module1, views, [] {});
    forms.run([&] { forms.show(forms::FormId::Launcher); });
    auto* window =
        dynamic_cast<ui::LauncherWindow*>(&forms.loaded(forms::FormId::Launcher)->view());
    QPushButton* slot1 = window->Command1(6);

    const std::string childPath = QFile::encodeName(child).toStdString();
    const auto click = measure(child, kRuns, [slot1] {
        QTest::mouseClick(slot1, Qt::LeftButton);
        return true;
    });
    // Reaped only after the stamp, so that all three wait the same way.
    std::vector<pid_t> spawned;
    const auto spawn = measure(child, kRuns, [&childPath, &spawned] {
        for (pid_t p : spawned)
            waitpid(p, nullptr, 0);
        spawned.clear();
        pid_t pid = 0;
        char* args[] = {const_cast<char*>(childPath.c_str()), nullptr};
        if (posix_spawn(&pid, childPath.c_str(), nullptr, nullptr, args, environ) != 0)
            return false;
        spawned.push_back(pid);
        return true;
    });
    for (pid_t p : spawned)
        waitpid(p, nullptr, 0);
    const auto detached =
        measure(child, kRuns, [&child] { return QProcess::startDetached(child, {}); });

    std::vector<double> waits;
    for (int i = 0; i < 20; ++i) {
        const long long t0 = monotonicNs();
        core::counted_wait(10'000'000);
        waits.push_back(double(monotonicNs() - t0) / 1e6);
    }

    std::printf("click to child running, %d runs (ms), platform %s\n", kRuns,
                qPrintable(QGuiApplication::platformName()));
    print("slot button click (Command1(6), real launch)", stats(click));
    print("posix_spawn", stats(spawn));
    print("QProcess::startDetached", stats(detached));
    print("counted_wait(10'000'000), 20 runs", stats(waits));
    forms.run([&] { forms.unload(forms::FormId::Launcher); });
    return 0;
}
