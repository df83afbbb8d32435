// The form lifecycle: hand-offs between the three windows and the end of the
// program.
#include "core/module1.h"
#include "forms/form.h"
#include "platform/fake/recording_services.h"
#include "recording_views.h"

#include <doctest/doctest.h>

using namespace zavo;
using forms::FormId;

namespace {

struct Program {
    platform::RecordingServices services;
    core::Module1 module1{services, "lifecycle-settei.ini"};
    test::RecordingViews views;
    int quits = 0;
    forms::Forms forms{module1, views, [this] { ++quits; }};

    void start() {
        forms.run([&] { forms.show(FormId::Launcher); });
    }
};

} // namespace

TEST_CASE("the program ends only when no form is loaded after a handler returned") {
    Program p;
    p.start();
    REQUIRE(p.forms.loaded(FormId::Launcher));
    CHECK(p.views.launcher().visible);

    // Options: the main window goes, the dialog comes, the program goes on.
    p.forms.run([&] {
        p.forms.unload(FormId::Launcher);
        CHECK(!p.forms.anyLoaded());
        p.forms.show(FormId::Option);
    });
    CHECK(p.quits == 0);
    CHECK(p.views.launchers.front()->disposed);
    CHECK(p.views.option().visible);

    // Back: the main window is loaded afresh.
    p.forms.run([&] { p.forms.unload(FormId::Option); });
    CHECK(p.views.launchers.size() == 2);
    CHECK(p.views.launcher().visible);
    CHECK(p.quits == 0);

    p.forms.run([&] { p.forms.unload(FormId::Launcher); });
    CHECK(p.quits == 1);
}

TEST_CASE("a second instance ends at once without showing a window") {
    Program p;
    p.services.otherInstance = true;
    p.start();
    CHECK(p.services.ended);
    CHECK(p.views.launcher().shows == 0);
    CHECK(p.services.calls == std::vector<std::string>{"instance?", "end"});
}
