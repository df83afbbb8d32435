// The About window's handlers: the shake of the picture.
#include "support/doctest_strings.h"
#include "support/forms_harness.h"

#include <algorithm>

using namespace zavo;
using namespace zavo::test;

TEST_CASE("one mouse move shakes the picture through 4000 moves and puts it back") {
    for (const bool rounding : {false, true}) {
        CAPTURE(rounding);
        Program a;
        a.start();
        a.event([&] { a.launcher()->about_Click(); });
        const auto mouseMove = [&] {
            a.event([&] { a.about()->Picture1_MouseMove(0, 0, 150, 75); });
        };
        RecordingAbout& view = a.views.about();
        CHECK(view.strokes == std::array<bool, 5>{}); // hidden on opening
        view.roundToPixels = rounding;
        mouseMove();

        // Four steps a cycle, 1000 cycles, then Top and Left set back.
        REQUIRE(view.asked.size() == 4002);
        CHECK(std::all_of(view.strokesAtMoves.begin(), view.strokesAtMoves.end(),
                          [](bool all) { return all; }));
        CHECK(std::all_of(view.refreshesAtMoves.begin(), view.refreshesAtMoves.end(),
                          [](int n) { return n == 1; })); // drawn once, before moving
        CHECK(view.left == 240);
        CHECK(view.top == 240);
        CHECK(view.strokes == std::array<bool, 5>{});

        // Each step starts from the position read back from the window, so
        // its rounding carries on: 190, 220 is held as 195, 225.
        using P = RecordingAbout::Point;
        CHECK(view.asked[0] == P{190, 220});
        CHECK(view.asked[1] == (rounding ? P{225, 215} : P{220, 210}));
        if (!rounding)
            CHECK(view.asked[3] == P{240, 240}); // a cycle sums to nothing

        // A later move shakes it again, completely.
        view.asked.clear();
        mouseMove();
        CHECK(view.asked.size() == 4002);
        CHECK(view.refreshes == 2);
    }
}
