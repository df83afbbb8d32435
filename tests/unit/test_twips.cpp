// Twips, points and 96-DPI pixels at the DPI of common display scalings,
// and a window kept inside its monitor's work area.
#include "core/screen_fit.h"
#include "core/twips.h"

#include <doctest/doctest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

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
        CHECK(twips_to_pixels(twips, 96) == static_cast<int>(std::nearbyint(twips / 15.0)));
    CHECK(twips_to_pixels(37.5, 96) == 2);
    CHECK(twips_to_pixels(22.5, 96) == 2);
}

TEST_CASE("a window is moved the least distance into its work area, never resized") {
    struct Row {
        const char* what;
        PixelRect window, work, placed;
    };
    const PixelRect fullHd{0, 0, 1920, 1080};
    const Row rows[] = {
        // The launcher's outer window at 96 DPI, and its design place at 2x.
        {"inside: unchanged", {680, 378, 324, 230}, fullHd, {680, 378, 324, 230}},
        {"touching every edge: unchanged", {0, 0, 1920, 1080}, fullHd, {0, 0, 1920, 1080}},
        {"past the right and bottom", {1366, 766, 636, 440}, fullHd, {1284, 640, 636, 440}},
        {"past the left and top", {-30, -5, 300, 200}, fullHd, {0, 0, 300, 200}},
        {"past the bottom only", {100, 1000, 300, 200}, fullHd, {100, 880, 300, 200}},
        {"a work area less a panel", {686, 420, 312, 182}, {0, 0, 1024, 576}, {686, 394, 312, 182}},
        {"a second monitor's work area",
         {3000, 1000, 300, 200},
         {1920, 0, 1280, 1024},
         {2900, 824, 300, 200}},
        {"wider and taller than the work area: its left and top edges",
         {500, 500, 1000, 700},
         {0, 30, 800, 600},
         {0, 30, 1000, 700}},
        {"no work area known: unchanged", {1372, 840, 624, 402}, {}, {1372, 840, 624, 402}},
    };
    for (const Row& r : rows) {
        CAPTURE(r.what);
        CHECK(fit_into(r.window, r.work) == r.placed);
    }
}

TEST_CASE("a window belongs to the monitor it overlaps most, else the nearest") {
    // Two monitors side by side, a third below the first.
    const std::vector<PixelRect> monitors{
        {0, 0, 1920, 1080}, {1920, 0, 1280, 1024}, {0, 1080, 1920, 1080}};
    struct Row {
        const char* what;
        PixelRect window;
        std::size_t monitor;
    };
    const Row rows[] = {
        {"inside the first", {686, 420, 312, 182}, 0},
        {"mostly on the second", {1800, 100, 300, 200}, 1},
        {"mostly on the first", {1700, 100, 300, 200}, 0},
        {"mostly on the third", {100, 1000, 300, 200}, 2},
        {"off to the right: the second is nearest", {3400, 500, 100, 100}, 1},
        {"below the second, beside the third: the third is nearest", {2000, 1500, 10, 10}, 2},
        {"above everything: the first is nearest", {500, -400, 100, 100}, 0},
    };
    for (const Row& r : rows) {
        CAPTURE(r.what);
        CHECK(monitor_of(r.window, monitors) == r.monitor);
    }
    CHECK(monitor_of({0, 0, 10, 10}, {}) == 0);
}
