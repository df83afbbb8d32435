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

// The forms on recording views and recording services (its record files logged), in whatever
// folder is current.
struct FormsHarness {
    platform::RecordingServices rec;
    core::Module1 module1{rec};
    RecordingViews views{&rec.calls};
    int quits = 0;
    forms::Forms forms{module1, views, [this] { ++quits; }};

    FormsHarness() { rec.logRecordFiles = true; }

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
