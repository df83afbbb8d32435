// Design sheet of the main window.
#pragma once

#include "design_sheet.h"

#include <array>

namespace zavo::forms {

inline constexpr WindowSpec kLauncherWindow{
    "ZAVO_launcher", "ZAVO_launcher", 4680, 2730, 10290, 6300, true};

inline constexpr int kTimer1Interval = 250; // ms; runs from load to unload

inline constexpr std::array<ControlSpec, 12> kLauncherControls{{
    {"Command2", Kind::Button, nullptr, "win終了 (&W)", 3240, 2040, 1215, 495, 0, kGothic9,
     "ウィンドウズそのものを終了させます。"},
    {"Command1_8", Kind::Button, nullptr, "３：未登録", 3120, 1320, 1335, 495, 9, kGothic9},
    {"Command1_7", Kind::Button, nullptr, "２：未登録", 1680, 1320, 1335, 495, 8, kGothic9},
    {"Command1_6", Kind::Button, nullptr, "１：未登録", 240, 1320, 1335, 495, 7, kGothic9},
    {"Command1_5", Kind::Button, nullptr, "Explorer(&E)", 3120, 720, 1335, 495, 6, kGothic9},
    {"Command1_4", Kind::Button, nullptr, "AlpsMap (&A)", 1680, 720, 1335, 495, 5, kGothic9},
    {"Command1_3", Kind::Button, nullptr, "乗換案内(&N)", 240, 720, 1335, 495, 4, kGothic9},
    {"Command1_2", Kind::Button, nullptr, "BookShelf (&S)", 3120, 120, 1335, 495, 3, kGothic9},
    {"Command1_1", Kind::Button, nullptr, "IE (&I)", 1680, 120, 1335, 495, 2, kGothic9},
    {"Command1_0", Kind::Button, nullptr, "M_Player(&M)", 240, 120, 1335, 495, 1, kGothic9},
    {"Line1", Kind::Line, nullptr, nullptr, 120, 1920, 4440, 1920},
    {"time_display", Kind::Label, nullptr, "", 240, 2040, 2895, 375, 10,
     FontSpec{"ＭＳ Ｐ明朝", 11.25, true}},
}};

inline constexpr std::array<MenuSpec, 6> kLauncherMenu{{
    {"file", "ファイル(&F)", nullptr, nullptr},
    {"smallization", "最小化(&Z)", "file", "Ctrl+Z"},
    {"exit", "アプリ終了(&E)", "file", nullptr},
    {"opt", "オプション(&O)...", nullptr, nullptr},
    {"help", "ヘルプ(&H)", nullptr, nullptr},
    {"about", "バージョン情報(&I)", "help", nullptr},
}};

} // namespace zavo::forms
