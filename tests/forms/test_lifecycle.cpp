// The form lifecycle: hand-offs between the three windows and the end of the
// program.
#include "support/doctest_strings.h"
#include "support/forms_harness.h"

#include <algorithm>

using namespace zavo;
using namespace zavo::test;
using forms::FormId;

TEST_CASE("the program ends only when no form is loaded after a handler returned") {
    Program p;
    p.start();
    REQUIRE(p.forms.loaded(FormId::Launcher));
    CHECK(p.views.launcher().visible);

    // Options: the main window goes, the dialog comes, the program goes on.
    p.event([&] {
        p.forms.unload(FormId::Launcher);
        CHECK(!p.forms.anyLoaded());
        p.forms.show(FormId::Option);
    });
    CHECK(p.quits == 0);
    CHECK(p.views.launchers.front()->disposed);
    CHECK(p.views.option().visible);

    // Back: the main window is loaded afresh.
    p.event([&] { p.forms.unload(FormId::Option); });
    CHECK(p.views.launchers.size() == 2);
    CHECK(p.views.launcher().visible);
    CHECK(p.quits == 0);

    p.event([&] { p.forms.unload(FormId::Launcher); });
    CHECK(p.quits == 1);
}

TEST_CASE("a second instance ends at once: nothing shown, no file, nothing afterwards") {
    Program p;
    p.rec.otherInstance = true;
    p.start();
    CHECK(p.rec.ended);
    CHECK(p.views.launcher().shows == 0);
    CHECK(!fs::exists("settei.ini"));
    p.event([&] {
        p.forms.show(FormId::Launcher);
        p.forms.show(FormId::Option);
    });
    CHECK(p.rec.calls == Calls{"instance?", "end"});
    CHECK(p.views.launchers.size() == 1);
    CHECK(p.views.options.empty());
}

TEST_CASE("the ways back: the dialog's reload the main window, its clock shown again at its first "
          "tick; About's show it again") {
    struct Row {
        const char* way;
        FormId form;
        void (*back)(Program&);
    };
    const Row rows[] = {
        {"Cancel_but", FormId::Option, [](Program& p) { p.option()->Cancel_but_Click(); }},
        {"the dialog's close box", FormId::Option,
         [](Program& p) { p.option()->Form_QueryClose(); }},
        {"OK_but", FormId::About, [](Program& p) { p.about()->OK_but_Click(); }},
        {"About's close box", FormId::About, [](Program& p) { p.about()->Form_QueryClose(); }},
    };
    const std::string kClock = "2003/10/01 （水） 9:05:07";
    for (const Row& row : rows) {
        INFO(std::string(row.way));
        const bool dialog = row.form == FormId::Option;
        Program p;
        makeProgram("hello.exe");
        p.start(recordBytes("/opt/tools/", "calc.exe"));
        std::array<std::string, 9> captions = p.views.launcher().Command1;
        CHECK(captions[6] == "calc.exe  ");
        p.event([&] { p.launcher()->Timer1_Timer(); });
        p.event([&] { dialog ? p.launcher()->opt_Click() : p.launcher()->about_Click(); });
        if (dialog) { // registers hello.exe in slot 2, which the reload shows
            p.views.option().selected = 0;
            p.views.option().option = 2;
            p.event([&] { p.option()->touroku_Click(); });
            captions[7] = "hello.exe ";
        } else {
            CHECK(!p.views.launcher().visible);
            writeFile("settei.ini", ""); // a reload would show the design captions
        }
        const auto mark = p.mark();
        p.event([&] { row.back(p); });
        CHECK(!p.forms.loaded(row.form));
        CHECK((dialog ? p.views.option().disposed : p.views.about().disposed));
        REQUIRE(p.views.launchers.size() == (dialog ? 2 : 1));
        CHECK(p.views.launcher().visible);
        CHECK(p.views.launcher().Command1 == captions);
        // The reload is the whole start-up again.
        const Calls calls = p.since(mark);
        CHECK((calls.front() == "instance?") == dialog);
        CHECK(std::count(calls.begin(), calls.end(), "instance?") == int(dialog));
        CHECK(std::count(calls.begin(), calls.end(), "open settei.ini") == int(dialog));
        CHECK(p.quits == 0);
        CHECK(p.views.launcher().time_display == (dialog ? "" : kClock));
        p.event([&] { p.launcher()->Timer1_Timer(); });
        CHECK(p.views.launcher().time_display == kClock);
    }
}
