// The main window's handlers: start-up, the launch buttons, the shutdown
// button, the clock and the menus.
#include "core/twips.h"
#include "support/doctest_strings.h"
#include "support/forms_harness.h"

#include <optional>

using namespace zavo;
using namespace zavo::test;
using forms::FormId;

namespace {

const std::array<std::string, 3> kDesign{"１：未登録", "２：未登録", "３：未登録"};
const char* const kReadError = "読み取りエラーです";

// Record 2 in code page 932: "C:\Program Files\テスト\" and "ソフト.exe".
const std::string kThreeSlots =
    recordBytes("/opt/one/", "one.exe") +
    recordBytes("C:\\Program Files\\\x83\x65\x83\x58\x83\x67\\", "\x83\x5c\x83\x74\x83\x67.exe") +
    recordBytes("/srv/three dir/", "three.exe");

std::array<std::string, 3> slotCaptions(Program& p) {
    const auto& c = p.views.launcher().Command1;
    return {c[6], c[7], c[8]};
}

} // namespace

TEST_CASE("start-up: single instance, topmost at its place in pixels at its display's DPI inside "
          "its work area, shown, then the first ten characters of each name on its button") {
    const std::string win = "C:\\WINDOWS\\";
    struct Row {
        const char* what;
        std::optional<std::string> file; // none: no settei.ini, which start-up creates empty
        std::array<std::string, 3> captions;
    };
    const Row rows[] = {
        {"three slots", kThreeSlots, {"one.exe   ", "ソフト.exe   ", "three.exe "}},
        {"no settei.ini", std::nullopt, kDesign},
        {"empty file", "", kDesign},
        {"eleven characters are cut",
         recordBytes(win, "notepad.exe"),
         {"notepad.ex", kDesign[1], kDesign[2]}},
        {"eight characters keep two blanks",
         blankRecord() + recordBytes(win, "calc.exe"),
         {kDesign[0], "calc.exe  ", kDesign[2]}},
        {"only slot 3 written",
         std::string(400, '\0') + recordBytes("C:\\TOOLS\\", "grep.exe"),
         {kDesign[0], kDesign[1], "grep.exe  "}},
        {"reset records", blankRecord() + blankRecord() + blankRecord(), kDesign},
        {"leading blank", recordBytes(win, " calc.exe"), {" calc.exe ", kDesign[1], kDesign[2]}},
        {"ten blanks, then a name", recordBytes(win, "          calc.exe"), kDesign},
        {"folder without a file name", recordBytes(win, ""), kDesign},
        {"code page 932",
         blankRecord() + recordBytes(win, "\x83\x5c\x83\x74\x83\x67.exe"),
         {kDesign[0], "ソフト.exe   ", kDesign[2]}},
        {"a file shorter than one record", std::string(50, 'A'), kDesign},
    };
    // The same twips at every DPI: twips x DPI / 1440, halves to even. A
    // place that would reach past the work area of its monitor moves the
    // least distance into it; one inside stands exactly.
    const core::PixelRect none, fullHd{0, 0, 1920, 1080};
    struct Place {
        int dpi;
        core::PixelRect work;
        const char* call;
    };
    const Place places[] = {
        {96, none, "setWindowPos -1 686 401 312 201 0x50"},
        {120, none, "setWindowPos -1 858 501 390 251 0x50"},
        {144, none, "setWindowPos -1 1029 602 468 302 0x50"},
        {192, none, "setWindowPos -1 1372 802 624 402 0x50"},
        {96, fullHd, "setWindowPos -1 686 401 312 201 0x50"},
        {144, fullHd, "setWindowPos -1 1029 602 468 302 0x50"},
        {192, fullHd, "setWindowPos -1 1296 678 624 402 0x50"},
        // A panel along the bottom, a frame outside the placed rectangle
        // (the view takes it off), a second monitor to the left.
        {96, {0, 0, 1024, 576}, "setWindowPos -1 686 375 312 201 0x50"},
        {96, {20, 40, 800, 560}, "setWindowPos -1 508 399 312 201 0x50"},
        {96, {-1280, 0, 1280, 1024}, "setWindowPos -1 -312 401 312 201 0x50"},
    };
    for (const Row& row : rows)
        for (const Place& place : places) {
            INFO(std::string(row.what));
            CAPTURE(place.dpi);
            CAPTURE(place.work.width);
            Program p;
            p.views.launcherDpi = place.dpi;
            p.views.launcherWorkArea = place.work;
            if (row.file)
                writeFile("settei.ini", *row.file);
            p.start();
            CHECK(p.since(0) == Calls{"instance?", place.call, "show launcher", "open settei.ini",
                                      "read 0", "read 200", "read 400", "close", "show launcher"});
            // Asked about the stored place in pixels.
            REQUIRE(p.views.launcher().askedWorkArea.size() == 1);
            CHECK(p.views.launcher().askedWorkArea[0].height ==
                  core::twips_to_pixels(3015, place.dpi));
            CHECK(slotCaptions(p) == row.captions);
            REQUIRE(fs::is_regular_file("settei.ini"));
            CHECK(p.settei() == row.file.value_or("")); // reading never writes
            CHECK(!p.module1.settei.is_open());
            CHECK(p.quits == 0);
        }
}

TEST_CASE("an unreadable settei.ini keeps the design captions and the program runs on") {
    Program p;
    SUBCASE("a folder in its place") {
        fs::create_directory("settei.ini");
    }
    SUBCASE("open refused") {
        p.rec.failRecordOpen = true;
    }
    p.start();
    CHECK(slotCaptions(p) == kDesign);
    CHECK(p.views.launcher().visible);
    CHECK(p.quits == 0);
    CHECK(!p.rec.ended);
}

TEST_CASE("Command1 starts each of the nine programs, or shows the read error; the media player "
          "gets Ctrl+P once ready (or after 5 s) and the count has passed, then the focus back") {
    const char* const kFixed[] = {
        R"(c:\program files\windows media player\wmplayer.exe)",
        R"(c:\program files\internet explorer\iexplore.exe)",
        R"(c:\program files\microsoft reference\bookshelf basic 2.0\bs98jl.exe)",
        R"(c:\program files\jrail\rail95.exe)",
        R"(c:\program files\alpsmap\rdw50\program\pa2001.exe)",
        R"(c:\windows\explorer.exe)",
    };
    const int kStyle[] = {1, 3, 3, 1, 3, 1};
    const char* const kSlots[] = {"/opt/one/one.exe", "C:\\Program Files\\テスト\\ソフト.exe",
                                  "/srv/three dir/three.exe"};
    struct Row {
        const char* what;
        bool starts, ready, keys;
    };
    const Row rows[] = {
        {"started", true, true, true},
        {"not started", false, true, true},
        // Past the bound the keys still go out, to whatever window is active.
        {"not ready", true, false, true},
        {"keystroke failed", true, true, false},
    };
    for (int index = 0; index <= 8; ++index)
        for (const Row& row : rows) {
            CAPTURE(index);
            INFO(std::string(row.what));
            Program p;
            p.rec.canLaunch = [&](const std::string&) { return row.starts; };
            p.rec.playerReady = row.ready;
            p.rec.keysSucceed = row.keys;
            p.start(kThreeSlots);
            const auto mark = p.mark();
            p.event([&] { p.launcher()->Command1_Click(index); });

            Calls expected;
            if (index < 6) {
                expected.push_back("launch " + std::string(kFixed[index]) + " " +
                                   std::to_string(kStyle[index]));
            } else {
                const int record = index - 6;
                expected = {"open settei.ini", "read " + std::to_string(200 * record),
                            std::string("launch ") + kSlots[record] + " 1", "close"};
            }
            // The count is of exactly ten million rounds.
            const bool player = index == 0 && row.starts;
            if (player)
                expected.insert(expected.end(),
                                {"waitForInputIdle 5000", "wait 10000000", "keys ^p wait"});
            if (!row.starts || (player && !row.keys))
                expected.push_back(msg(kReadError));
            else if (player)
                expected.push_back("focus launcher");
            CHECK(p.since(mark) == expected);
            CHECK(p.views.launcher().focusTaken == int(player && row.keys));
        }
}

TEST_CASE("a failed slot launch closes the file, shows the read error; the next click reads the "
          "slot again and works") {
    struct Row {
        const char* what;
        std::optional<std::string> file; // none: no settei.ini
        int slot;
        std::optional<std::string> launched; // none: settei.ini cannot be opened
    };
    const std::string nul(100, '\0');
    const Row rows[] = {
        // Unregistered slots are launched all the same: an empty command fails.
        {"no settei.ini", std::nullopt, 1, nul},
        {"reset slot", kThreeSlots.substr(0, 400) + blankRecord(), 3, ""},
        {"never written slot", std::string(400, '\0') + recordBytes("/opt/", "x.exe"), 2, nul},
        {"program gone", kThreeSlots, 1, "/opt/one/one.exe"},
        {"settei.ini cannot be opened", kThreeSlots, 2, std::nullopt},
    };
    for (const Row& row : rows) {
        INFO(std::string(row.what));
        Program p;
        if (row.file)
            writeFile("settei.ini", *row.file);
        p.rec.canLaunch = [](const std::string& c) { return c == "/srv/three dir/three.exe"; };
        p.rec.failRecordOpen = !row.launched;
        p.start();
        auto mark = p.mark();
        p.event([&] { p.launcher()->Command1_Click(5 + row.slot); });
        const std::string read = "read " + std::to_string(200 * (row.slot - 1));
        CHECK(p.since(mark) ==
              (row.launched ? Calls{"open settei.ini", read, "launch " + *row.launched + " 1",
                                    "close", msg(kReadError)}
                            : Calls{"open settei.ini", msg(kReadError)}));
        CHECK(!p.module1.settei.is_open());

        // A slot is read at each click, so a change takes effect at the next.
        p.rec.failRecordOpen = false;
        writeFile("settei.ini", kThreeSlots);
        mark = p.mark();
        p.event([&] { p.launcher()->Command1_Click(8); });
        CHECK(p.since(mark) ==
              Calls{"open settei.ini", "read 400", "launch /srv/three dir/three.exe 1", "close"});
    }
}

TEST_CASE("Timer1 composes date, day name and time; an unchanged text costs no repaint") {
    Program p;
    p.start();
    RecordingLauncher& view = p.views.launcher();
    CHECK(view.time_display.empty()); // until the first tick
    const std::pair<platform::LocalDateTime, const char*> days[] = {
        {{2003, 10, 1, 9, 5, 7}, "2003/10/01 （水） 9:05:07"},
        {{2003, 9, 28, 12, 0, 0}, "2003/09/28 （日） 12:00:00"},
        {{2003, 9, 29, 12, 0, 0}, "2003/09/29 （月） 12:00:00"},
        {{2003, 9, 30, 12, 0, 0}, "2003/09/30 （火） 12:00:00"},
        {{2003, 10, 1, 0, 0, 0}, "2003/10/01 （水） 0:00:00"},
        {{2003, 10, 2, 12, 0, 0}, "2003/10/02 （木） 12:00:00"},
        {{2003, 10, 3, 12, 0, 0}, "2003/10/03 （金） 12:00:00"},
        {{2003, 10, 4, 23, 59, 59}, "2003/10/04 （土） 23:59:59"},
    };
    int repaints = 0;
    for (const auto& [when, text] : days) {
        p.rec.clock = {when};
        p.event([&] { p.launcher()->Timer1_Timer(); });
        p.event([&] { p.launcher()->Timer1_Timer(); });
        CHECK(view.time_display == text);
        CHECK(view.repaints == ++repaints); // the second tick changed nothing
    }
}

TEST_CASE("the menus and Command2: what each does to the main window and the program") {
    using L = forms::ZAVO_launcher;
    struct Row {
        const char* what;
        void (L::*click)();
        Calls calls;
        const char* after; // the main window afterwards
        int quits;
    };
    const Calls opt{"hide launcher", "open settei.ini", "read 0",     "read 200",
                    "read 400",      "close",           "show option"};
    const Row rows[] = {
        {"opt", &L::opt_Click, opt, "unloaded", 0}, // and shows the dialog
        {"about", &L::about_Click, {"hide launcher", "show about"}, "hidden", 0},
        {"exit", &L::exit_Click, {"hide launcher"}, "unloaded", 1},
        {"the close box", &L::Form_QueryClose, {"hide launcher"}, "unloaded", 1},
        {"smallization", &L::smallization_Click, {}, "minimized", 0},
        // Asks once for a plain shutdown and shows nothing, accepted or not.
        {"Command2", &L::Command2_Click, {"exit 1 0"}, "shown", 0},
    };
    for (const Row& row : rows)
        for (const bool exitAccepted : {true, false}) {
            INFO(std::string(row.what));
            CAPTURE(exitAccepted);
            Program p;
            p.rec.exitAccepted = exitAccepted;
            p.start(kThreeSlots);
            RecordingLauncher& first = p.views.launcher();
            const auto captions = first.Command1;
            const auto mark = p.mark();
            p.event([&] { (p.launcher()->*row.click)(); });
            CHECK(p.since(mark) == row.calls);
            const char* after = first.disposed    ? "unloaded"
                                : first.minimized ? "minimized"
                                : first.visible   ? "shown"
                                                  : "hidden";
            CHECK(after == std::string(row.after));
            CHECK(bool(p.forms.loaded(FormId::Launcher)) == !first.disposed);
            CHECK(first.Command1 == captions);
            CHECK(p.views.launchers.size() == 1);
            CHECK((p.views.options.empty() || p.views.option().visible));
            CHECK((p.views.abouts.empty() || p.views.about().visible));
            CHECK(p.quits == row.quits);
            CHECK(!p.rec.ended); // an ordinary end, not the second instance's
            CHECK(!p.module1.settei.is_open());
        }
}
