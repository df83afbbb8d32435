// The program's three forms on recording views and the recording services,
// with no window system: the harness every behaviour test drives. Reads,
// writes and closes of settei.ini are logged into the same call list as the
// services and the windows' shows and hides, so order can be asserted.
#pragma once

#include "core/module1.h"
#include "forms/form.h"
#include "forms/frm_about.h"
#include "forms/frm_option.h"
#include "forms/zavo_launcher.h"
#include "platform/fake/recording_services.h"
#include "recording_views.h"
#include "scratch_folder.h"
#include "settei_bytes.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace zavo::test {

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

// Logs every read, write and close of a record file into `log`.
class LoggedFile final : public platform::RecordFile {
public:
    LoggedFile(std::unique_ptr<platform::RecordFile> file, std::vector<std::string>& log)
        : file_(std::move(file)), log_(log) {}
    ~LoggedFile() override { log_.emplace_back("close"); }
    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override;
    bool writeAt(std::uint64_t offset, std::span<const std::byte> data,
                 std::string& error) override;

private:
    std::unique_ptr<platform::RecordFile> file_;
    std::vector<std::string>& log_;
};

// RecordingServices with its record files logged.
class LoggingServices final : public platform::Services {
public:
    platform::RecordingServices rec;

    std::unique_ptr<platform::Process> launch(const std::string& command, int style,
                                              std::string& error) override;
    bool waitForInputIdle(platform::Process& process, int timeoutMs) override;
    bool sendKeys(std::string_view keys, bool wait) override;
    int messageBox(const std::string& prompt, int style, const std::string& title) override;
    void beep() override;
    bool anotherInstanceRunning() override;
    void endProgram() override;
    platform::LocalDateTime now() override;
    std::string dateText(const platform::LocalDateTime& when) override;
    std::string timeText(const platform::LocalDateTime& when) override;
    std::unique_ptr<platform::RecordFile> openRecordFile(const std::string& name,
                                                         std::string& error) override;
    void setWindowPos(platform::WindowHandle window, std::intptr_t after, int x, int y, int cx,
                      int cy, unsigned flags) override;
    bool exitWindowsEx(unsigned flags, unsigned reserved) override;
    long countedWait(long rounds) override;
};

// The forms on recording views and logged recording services, in whatever
// folder is current.
struct FormsHarness {
    LoggingServices services;
    platform::RecordingServices& rec = services.rec;
    core::Module1 module1{services};
    RecordingViews views{&rec.calls};
    int quits = 0;
    forms::Forms forms{module1, views, [this] { ++quits; }};

    // Shows the main window, as the program's start does.
    void start() {
        event([&] { forms.show(forms::FormId::Launcher); });
    }
    // Runs `handler` as one event of the event loop.
    template <class F> void event(F handler) { forms.run(handler); }

    forms::ZAVO_launcher* launcher() const {
        return forms.loadedAs<forms::ZAVO_launcher>(forms::FormId::Launcher);
    }
    forms::frmOption* option() const {
        return forms.loadedAs<forms::frmOption>(forms::FormId::Option);
    }
    forms::frmABOUT* about() const { return forms.loadedAs<forms::frmABOUT>(forms::FormId::About); }

    // Calls from here on, without the clock's readings.
    std::size_t mark() const { return rec.calls.size(); }
    Calls since(std::size_t mark) const;
};

// Holds the scratch folder of a Program: a base, so it is made before the
// forms and removed after them.
struct InScratchFolder {
    ScratchFolder folder{"zavo-forms-", ScratchFolder::Current::enter};
};

// One run of the program in a private scratch folder that is current while
// it lives (the slot file's name is relative).
struct Program : InScratchFolder, FormsHarness {
    using FormsHarness::start;
    // Starts with `settei` as the slot file.
    void start(const std::string& settei) {
        writeFile("settei.ini", settei);
        start();
    }
    std::string settei() const { return readFile("settei.ini"); }
};

// The call a message box leaves in the list.
std::string msg(const std::string& text, int style = 16);

// The folder as touroku stores it: with one separator at its end.
std::string stored(const fs::path& folder);

} // namespace zavo::test
