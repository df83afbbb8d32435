// Twips, points and 96-DPI pixels at the DPI of common display scalings.
#include "core/twips.h"

#include <doctest/doctest.h>

#include <initializer_list>

using namespace zavo::core;

TEST_CASE("design measures at 100, 125, 150 and 200 % scaling") {
    struct Row {
        int dpi;
        int twips10290, twips7, twips22; // 686 px at 96; 0.47 px; 1.47 px
        int points9, points1125;         // a 9 pt and an 11.25 pt character height
        int picture33, pen1;             // 96-DPI pixels
    };
    // Halves go to the even neighbour for twips and pixels (857.5 -> 858,
    // 49.5 -> 50, 1.5 -> 2) and away from zero for points (22.5 -> 23).
    const Row rows[] = {
        {96, 686, 0, 1, 12, 15, 33, 1},
        {120, 858, 1, 2, 15, 19, 41, 1},
        {144, 1029, 1, 2, 18, 23, 50, 2},
        {192, 1372, 1, 3, 24, 30, 66, 2},
    };
    for (const Row& r : rows) {
        CAPTURE(r.dpi);
        CHECK(twips_to_pixels(10290, r.dpi) == r.twips10290);
        CHECK(twips_to_pixels(7, r.dpi) == r.twips7);
        CHECK(twips_to_pixels(22, r.dpi) == r.twips22);
        CHECK(points_to_pixels(9, r.dpi) == r.points9);
        CHECK(points_to_pixels(11.25, r.dpi) == r.points1125);
        CHECK(scale_pixels(33, r.dpi) == r.picture33);
        CHECK(scale_pixels(1, r.dpi) == r.pen1);
        // A window's pixels survive the trip through twips.
        for (int px : {0, 1, 201, 301, 402, 1371})
            CHECK(twips_to_pixels(pixels_to_twips(px, r.dpi), r.dpi) == px);
    }
    // 96 DPI is the old fixed divisor of 15, halves to even included.
    for (int twips = -45; twips <= 10290; ++twips)
        CHECK(twips_to_pixels(twips, 96) == twips_to_pixels(twips));
    CHECK(twips_to_pixels(37.5, 96) == 2);
    CHECK(twips_to_pixels(22.5, 96) == 2);
}
