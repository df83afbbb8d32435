// The form lifecycle: hand-offs between the three windows and the end of the
// program.
#include "support/doctest_strings.h"
#include "support/forms_harness.h"

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
