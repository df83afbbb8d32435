// One run of the program for a behaviour test: the three forms on recording
// views and recording services, in a private temporary current folder (the
// slot file's name is relative). Reads, writes and closes of settei.ini are
// logged into the same call list as the services, so order can be asserted.
#pragma once

#include "core/module1.h"
#include "forms/form.h"
#include "forms/frm_about.h"
#include "forms/frm_option.h"
#include "forms/zavo_launcher.h"
#include "platform/fake/recording_services.h"
#include "platform/folder_lists.h"
#include "recording_views.h"

#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

// Call lists read as lists in a failure report.
namespace doctest {
template <> struct StringMaker<std::vector<std::string>> {
    static String convert(const std::vector<std::string>& calls) {
        std::string out = "{";
        for (const std::string& c : calls)
            out += "\n  \"" + c + "\"";
        return (out + "}").c_str();
    }
};
} // namespace doctest

namespace zavo::test {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, current while it lives.
class TempFolder {
public:
    TempFolder() : previous_(fs::current_path()) {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("zavo-forms-" + std::to_string(random()));
        fs::create_directories(path_);
        fs::current_path(path_);
        path_ = fs::current_path(); // as the program sees it
    }
    ~TempFolder() {
        std::error_code ec;
        fs::current_path(previous_, ec);
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path previous_;
    fs::path path_;
};

// One 200-byte record as the file holds it: `dir` and `exe` are code page 932
// bytes, blank padded to 80 and 20 bytes, then 100 zero bytes.
inline std::string record(const std::string& dir, const std::string& exe) {
    std::string r = dir;
    r.resize(80, ' ');
    r += exe;
    r.resize(100, ' ');
    r.resize(200, '\0');
    return r;
}
inline const std::string kNever(200, '\0'); // a record never written
inline const std::string kReset = record("", "");

inline void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
inline void makeFile(const fs::path& path) {
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    writeFile(path, "");
}

// The folder as touroku stores it: with one separator at its end.
inline std::string stored(const fs::path& folder) {
    std::string s = folder.string();
    if (s.back() != platform::folder_lists::kPathSeparator)
        s += platform::folder_lists::kPathSeparator;
    return s;
}

// Logs every read, write and close of the real record file.
class LoggedFile final : public platform::RecordFile {
public:
    LoggedFile(std::unique_ptr<platform::RecordFile> file, std::vector<std::string>& log)
        : file_(std::move(file)), log_(log) {}
    ~LoggedFile() override { log_.emplace_back("close"); }
    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override {
        log_.push_back("read " + std::to_string(offset));
        return file_->readAt(offset, out, error);
    }
    bool writeAt(std::uint64_t offset, std::span<const std::byte> data,
                 std::string& error) override {
        log_.push_back("write " + std::to_string(offset));
        return file_->writeAt(offset, data, error);
    }

private:
    std::unique_ptr<platform::RecordFile> file_;
    std::vector<std::string>& log_;
};

// RecordingServices with its record files logged.
class Services final : public platform::Services {
public:
    platform::RecordingServices rec;

    bool launch(const std::string& c, int style, std::string& e) override {
        return rec.launch(c, style, e);
    }
    bool sendKeys(std::string_view keys, bool wait) override { return rec.sendKeys(keys, wait); }
    int messageBox(const std::string& p, int style, const std::string& t) override {
        return rec.messageBox(p, style, t);
    }
    void beep() override { rec.beep(); }
    bool anotherInstanceRunning() override { return rec.anotherInstanceRunning(); }
    void endProgram() override { rec.endProgram(); }
    platform::LocalDateTime now() override { return rec.now(); }
    std::string dateText(const platform::LocalDateTime& t) override { return rec.dateText(t); }
    std::string timeText(const platform::LocalDateTime& t) override { return rec.timeText(t); }
    std::unique_ptr<platform::RecordFile> openRecordFile(const std::string& name,
                                                         std::string& error) override {
        auto file = rec.openRecordFile(name, error);
        if (!file)
            return nullptr;
        return std::make_unique<LoggedFile>(std::move(file), rec.calls);
    }
    void setWindowPos(platform::WindowHandle w, std::intptr_t after, int x, int y, int cx, int cy,
                      unsigned flags) override {
        rec.setWindowPos(w, after, x, y, cx, cy, flags);
    }
    bool exitWindowsEx(unsigned flags, unsigned reserved) override {
        return rec.exitWindowsEx(flags, reserved);
    }
};

using Calls = std::vector<std::string>;

struct Program {
    TempFolder folder; // first in, last out: everything below uses it
    Services services;
    platform::RecordingServices& rec = services.rec;
    core::Module1 module1{services};
    RecordingViews views{&rec.calls};
    int quits = 0;
    forms::Forms forms{module1, views, [this] { ++quits; }};

    Program() {
        // As a real start: nothing empty or NUL-led starts.
        rec.canLaunch = [](const std::string& c) { return !c.empty() && c.front() != '\0'; };
    }

    void start() {
        event([&] { forms.show(forms::FormId::Launcher); });
    }
    // Starts with `settei` as the slot file.
    void start(const std::string& settei) {
        writeFile("settei.ini", settei);
        start();
    }

    // Runs `handler` as one event of the event loop.
    template <class F> void event(F handler) { forms.run(handler); }

    forms::ZAVO_launcher* launcher() {
        return forms.loadedAs<forms::ZAVO_launcher>(forms::FormId::Launcher);
    }
    forms::frmOption* option() { return forms.loadedAs<forms::frmOption>(forms::FormId::Option); }
    forms::frmABOUT* about() { return forms.loadedAs<forms::frmABOUT>(forms::FormId::About); }

    // Calls from here on, without the clock's readings.
    std::size_t mark() const { return rec.calls.size(); }
    Calls since(std::size_t mark) const {
        Calls out;
        for (std::size_t i = mark; i < rec.calls.size(); ++i)
            if (rec.calls[i] != "now")
                out.push_back(rec.calls[i]);
        return out;
    }
    std::string settei() const { return readFile("settei.ini"); }
};

inline std::string msg(const std::string& text, int style = 16) {
    return "msg " + text + " " + std::to_string(style) + " ZAVO_launcher";
}

} // namespace zavo::test
