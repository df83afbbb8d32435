// Design sheet of the About window.
#pragma once

#include "design_sheet.h"

#include <array>

namespace zavo::forms {

inline constexpr WindowSpec kAboutWindow{
    "frmABOUT", "ZAVO_launcherのバージョン情報", 4770, 3195, 10290, 5730, false};

inline constexpr FontSpec kGothic12{"ＭＳ ゴシック", 12};
inline constexpr FontSpec kGothic825{"ＭＳ ゴシック", 8.25};

// The rows of kAboutControls, in their order.
// clang-format off
enum class AboutControl {
    Picture1, OK_but, Line1_0, Line1_4, Line1_3, Line1_2, Line1_1, Line_0, Line_1, Label1, Label2,
    Label3, Count
};
// clang-format on

inline constexpr int kStrokes = 5;
// Line1(index).
inline constexpr std::array<AboutControl, kStrokes> kLine1{
    AboutControl::Line1_0, AboutControl::Line1_1, AboutControl::Line1_2, AboutControl::Line1_3,
    AboutControl::Line1_4};

// Line(0) light grey, 1 pixel; Line(1) dark grey, 2 pixels, drawn over it.
struct LineColour {
    AboutControl line;
    int red, green, blue, width;
};
inline constexpr std::array<LineColour, 2> kAboutRules{{
    {AboutControl::Line_0, 224, 224, 224, 1},
    {AboutControl::Line_1, 64, 64, 64, 2},
}};

inline constexpr std::array<ControlSpec, std::size_t(AboutControl::Count)> kAboutControls{{
    {"Picture1", Kind::Picture, kClientArea, nullptr, 240, 240, 720, 495, 4, kWindowFont, nullptr,
     "ロケットの絵"},
    {"OK_but", Kind::Button, kClientArea, "OK", 1680, 2400, 1215, 495, 0},
    {"Line1_0", Kind::Line, kClientArea, nullptr, 360, 960, 360, 1200},
    {"Line1_4", Kind::Line, kClientArea, nullptr, 840, 960, 840, 1080},
    {"Line1_3", Kind::Line, kClientArea, nullptr, 720, 960, 720, 1320},
    {"Line1_2", Kind::Line, kClientArea, nullptr, 600, 960, 600, 1200},
    {"Line1_1", Kind::Line, kClientArea, nullptr, 480, 960, 480, 1320},
    {"Line_0", Kind::Line, kClientArea, nullptr, 240, 2160, 4560, 2160},
    {"Line_1", Kind::Line, kClientArea, nullptr, 240, 2160, 4560, 2160},
    {"Label1", Kind::Label, kClientArea, "ZAVO_launcher ver1.04", 1320, 360, 2655, 495, 3,
     kGothic12},
    {"Label2", Kind::Label, kClientArea, "作者：ZAVO　(C) 2000", 1320, 960, 2895, 375, 2,
     kGothic825},
    {"Label3", Kind::Label, kClientArea, "http://example.com/zavo/  zavo@example.com", 240, 1440,
     4215, 495, 1, kGothic9},
}};
inline constexpr AboutControl kAboutFirstFocus = firstFocus<AboutControl>(kAboutControls);
static_assert(kAboutFirstFocus == AboutControl::OK_but);

static_assert(rowsNamed(kAboutControls,
                        {"Picture1", "OK_but", "Line1_0", "Line1_4", "Line1_3", "Line1_2",
                         "Line1_1", "Line_0", "Line_1", "Label1", "Label2", "Label3"}));

} // namespace zavo::forms
