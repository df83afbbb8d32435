// Recording stand-ins for the three windows: they keep what the forms told
// them, so the behaviour tests run with no window system at all.
#pragma once

#include "forms/about_view.h"
#include "forms/launcher_view.h"
#include "forms/option_view.h"

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace zavo::test {

// A window of `View` that keeps its shows and hides; `log`, when set, gets
// "show <name>" and "hide <name>" in order with the services' calls.
template <class View> class RecordingWindow : public View {
public:
    RecordingWindow(const char* name, std::vector<std::string>* log) : name(name), log(log) {}
    void show() override {
        visible = true, ++shows;
        note("show ");
    }
    void hide() override {
        visible = false;
        note("hide ");
    }
    void dispose() override { visible = false, disposed = true; }
    void note(const std::string& what) {
        if (log)
            log->push_back(what + name);
    }

    const char* name;
    std::vector<std::string>* log;
    bool visible = false;
    bool disposed = false;
    int shows = 0;
};

class RecordingLauncher final : public RecordingWindow<forms::LauncherView> {
public:
    using RecordingWindow::RecordingWindow;
    platform::WindowHandle handle() override { return 0x1234; }
    forms::TwipsRect placement() override { return rect; }
    int pixelsPerInch() override { return dpi; }
    core::PixelRect workArea(const core::PixelRect& window) override {
        askedWorkArea.push_back(window);
        return work;
    }
    void setCommand1Caption(int index, const std::string& caption) override {
        Command1.at(std::size_t(index)) = caption;
    }
    void setTimeDisplay(const std::string& text) override {
        time_display = text;
        ++repaints;
    }
    void minimize() override { minimized = true; }
    void takeFocus() override {
        ++focusTaken;
        note("focus ");
    }

    std::array<std::string, 9> Command1{"M_Player(&M)", "IE (&I)",      "BookShelf (&S)",
                                        "乗換案内(&N)", "AlpsMap (&A)", "Explorer(&E)",
                                        "１：未登録",   "２：未登録",   "３：未登録"};
    // The design area at (686, 420) px under a 19 px menu bar.
    forms::TwipsRect rect{10290, 6015, 4680, 3015};
    int dpi = 96;
    core::PixelRect work;                       // empty: not known
    std::vector<core::PixelRect> askedWorkArea; // for which window
    std::string time_display;
    int repaints = 0;
    bool minimized = false;
    int focusTaken = 0;
};

class RecordingOption final : public RecordingWindow<forms::OptionView> {
public:
    using RecordingWindow::RecordingWindow;
    void setLabel(int slot, const std::string& caption) override {
        Label.at(std::size_t(slot - 1)) = caption;
    }
    bool optionValue(int slot) override { return option == slot; }
    void setDrives(const std::vector<std::string>& names) override { drives = names; }
    void selectDrive(int index) override { drive = index; }
    void setFolders(const std::vector<std::string>& names, int openRows) override {
        folders = names;
        open = openRows;
    }
    void setFiles(const std::vector<std::string>& names) override {
        files = names;
        selected = -1;
    }
    int selectedFile() override { return selected; }
    void setListName(forms::OptionControl list, const std::string& name) override {
        (list == forms::OptionControl::dir_name ? folderListName : fileListName) = name;
    }

    std::array<std::string, 3> Label{"未登録", "未登録", "未登録"};
    int option = 1; // the selected Option button; 0: none
    std::vector<std::string> drives, folders, files;
    std::string folderListName, fileListName;
    int drive = -1, open = 0, selected = -1;
};

class RecordingAbout final : public RecordingWindow<forms::AboutView> {
public:
    using RecordingWindow::RecordingWindow;
    void setStrokeVisible(int index, bool visible) override {
        strokes.at(std::size_t(index)) = visible;
    }
    void refresh() override { ++refreshes; }
    float pictureLeft() override { return left; }
    float pictureTop() override { return top; }
    void movePicture(float l, float t) override {
        asked.push_back({l, t});
        // A window system may hold positions in whole pixels only.
        left = roundToPixels ? std::round(l / 15) * 15 : l;
        top = roundToPixels ? std::round(t / 15) * 15 : t;
        strokesAtMoves.push_back(strokes == std::array<bool, 5>{true, true, true, true, true});
        refreshesAtMoves.push_back(refreshes);
    }

    struct Point {
        float left, top;
        bool operator==(const Point&) const = default;
    };
    std::array<bool, 5> strokes{};
    int refreshes = 0;
    float left = 240, top = 240;
    bool roundToPixels = false;
    std::vector<Point> asked;          // every move, as the form asked for it
    std::vector<bool> strokesAtMoves;  // all five strokes showing at each move
    std::vector<int> refreshesAtMoves; // refreshes made before each move
};

// Hands out recording windows and keeps every one it made, so a test can
// look at a window after its form was unloaded.
class RecordingViews final : public forms::ViewFactory {
public:
    explicit RecordingViews(std::vector<std::string>* log = nullptr) : log(log) {}
    forms::LauncherView& makeView(forms::ZAVO_launcher&) override {
        RecordingLauncher& view = made(launchers, "launcher");
        view.dpi = launcherDpi;
        view.work = launcherWorkArea;
        return view;
    }
    forms::OptionView& makeView(forms::frmOption&) override { return made(options, "option"); }
    forms::AboutView& makeView(forms::frmABOUT&) override { return made(abouts, "about"); }
    RecordingLauncher& launcher() { return *launchers.back(); }
    RecordingOption& option() { return *options.back(); }
    RecordingAbout& about() { return *abouts.back(); }

    std::vector<std::unique_ptr<RecordingLauncher>> launchers;
    std::vector<std::unique_ptr<RecordingOption>> options;
    std::vector<std::unique_ptr<RecordingAbout>> abouts;
    std::vector<std::string>* log;
    int launcherDpi = 96;             // of every launcher window made from now on
    core::PixelRect launcherWorkArea; // likewise; empty: not known

private:
    template <class W> W& made(std::vector<std::unique_ptr<W>>& all, const char* name) {
        return *all.emplace_back(std::make_unique<W>(name, log));
    }
};

} // namespace zavo::test
