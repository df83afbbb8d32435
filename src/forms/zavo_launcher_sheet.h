// Design sheet of the main window.
#pragma once

#include "design_sheet.h"

#include <array>

namespace zavo::forms {

inline constexpr WindowSpec kLauncherWindow{
    "ZAVO_launcher", "ZAVO_launcher", 4680, 2730, 10290, 6300, true};

inline constexpr int kTimer1Interval = 250; // ms; runs from load to unload

// The rows of kLauncherControls, in their order.
// clang-format off
enum class LauncherControl {
    Command2, Command1_8, Command1_7, Command1_6, Command1_5, Command1_4, Command1_3, Command1_2,
    Command1_1, Command1_0, Line1, time_display, Count
};
// clang-format on

inline constexpr int kLaunchButtons = 9;
// Command1(index).
inline constexpr std::array<LauncherControl, kLaunchButtons> kCommand1{
    LauncherControl::Command1_0, LauncherControl::Command1_1, LauncherControl::Command1_2,
    LauncherControl::Command1_3, LauncherControl::Command1_4, LauncherControl::Command1_5,
    LauncherControl::Command1_6, LauncherControl::Command1_7, LauncherControl::Command1_8};

inline constexpr std::array<ControlSpec, std::size_t(LauncherControl::Count)> kLauncherControls{{
    {"Command2", Kind::Button, kClientArea, "win終了 (&W)", 3240, 2040, 1215, 495, 0, kGothic9,
     "ウィンドウズそのものを終了させます。", nullptr, kNoTabStop},
    {"Command1_8", Kind::Button, kClientArea, "３：未登録", 3120, 1320, 1335, 495, 9, kGothic9},
    {"Command1_7", Kind::Button, kClientArea, "２：未登録", 1680, 1320, 1335, 495, 8, kGothic9},
    {"Command1_6", Kind::Button, kClientArea, "１：未登録", 240, 1320, 1335, 495, 7, kGothic9},
    {"Command1_5", Kind::Button, kClientArea, "Explorer(&E)", 3120, 720, 1335, 495, 6, kGothic9},
    {"Command1_4", Kind::Button, kClientArea, "AlpsMap (&A)", 1680, 720, 1335, 495, 5, kGothic9},
    {"Command1_3", Kind::Button, kClientArea, "乗換案内(&N)", 240, 720, 1335, 495, 4, kGothic9},
    {"Command1_2", Kind::Button, kClientArea, "BookShelf (&S)", 3120, 120, 1335, 495, 3, kGothic9},
    {"Command1_1", Kind::Button, kClientArea, "IE (&I)", 1680, 120, 1335, 495, 2, kGothic9},
    {"Command1_0", Kind::Button, kClientArea, "M_Player(&M)", 240, 120, 1335, 495, 1, kGothic9},
    {"Line1", Kind::Line, kClientArea, nullptr, 120, 1920, 4440, 1920},
    {"time_display", Kind::Label, kClientArea, "", 240, 2040, 2895, 375, 10,
     FontSpec{"ＭＳ Ｐ明朝", 11.25, true}},
}};

// Never the shutdown button: one stray key would shut the computer down.
inline constexpr LauncherControl kLauncherFirstFocus =
    firstFocus<LauncherControl>(kLauncherControls);
static_assert(kLauncherFirstFocus == LauncherControl::Command1_0);

static_assert(rowsNamed(kLauncherControls, {"Command2", "Command1_8", "Command1_7", "Command1_6",
                                            "Command1_5", "Command1_4", "Command1_3", "Command1_2",
                                            "Command1_1", "Command1_0", "Line1", "time_display"}));

// The rows of kLauncherMenu, in their order.
enum class LauncherMenu { file, smallization, exit, opt, help, about, Count };

inline constexpr std::array<MenuSpec, std::size_t(LauncherMenu::Count)> kLauncherMenu{{
    {"file", "ファイル(&F)", kMenuBar, nullptr},
    {"smallization", "最小化(&Z)", row(LauncherMenu::file), "Ctrl+Z"},
    {"exit", "アプリ終了(&E)", row(LauncherMenu::file), nullptr},
    {"opt", "オプション(&O)...", kMenuBar, nullptr},
    {"help", "ヘルプ(&H)", kMenuBar, nullptr},
    {"about", "バージョン情報(&I)", row(LauncherMenu::help), nullptr},
}};
static_assert(rowsNamed(kLauncherMenu, {"file", "smallization", "exit", "opt", "help", "about"}));

} // namespace zavo::forms
