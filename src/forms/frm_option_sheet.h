// Design sheet of the registration dialog.
#pragma once

#include "core/slot_record.h"
#include "design_sheet.h"

#include <array>

namespace zavo::forms {

// Opened without an owner, so centred on the screen.
inline constexpr WindowSpec kOptionWindow{"frmOption", "登録フォーム", 6825, 2940, -1, -1, false};

inline constexpr FontSpec kGothic975{"ＭＳ ゴシック", 9.75};

// The rows of kOptionControls, in their order.
// clang-format off
enum class OptionControl {
    Option3, Option2, Option1, File_name, Drv_name, dir_name, reset, Frame1, Cancel_but, touroku,
    Frame2, Label3, Label1, Label2, Count
};
// clang-format on

// Option1 to Option3 and Label1 to Label3, by slot number less one.
inline constexpr std::array<OptionControl, core::kSlotCount> kSlotOptions{
    OptionControl::Option1, OptionControl::Option2, OptionControl::Option3};
inline constexpr std::array<OptionControl, core::kSlotCount> kSlotLabels{
    OptionControl::Label1, OptionControl::Label2, OptionControl::Label3};

// The names a screen reader gives the lists. The folder list's name goes on
// with the folder it shows; an empty file list is named for being empty.
inline constexpr const char* kDriveListName = "ドライブ";
inline constexpr const char* kFolderListName = "フォルダ";
inline constexpr const char* kFileListName = "ファイル";
inline constexpr const char* kNoFilesName = "ファイルがありません";

// The slot choice: one group named by its frame's caption; each option button
// is labelled by the label showing its slot's program.
inline constexpr OptionGroupSpec<OptionControl, core::kSlotCount> kSlotGroup{
    OptionControl::Frame2, kSlotOptions, kSlotLabels};

inline constexpr std::array<ControlSpec, std::size_t(OptionControl::Count)> kOptionControls{{
    {"Option3", Kind::Option, kClientArea, "ボタン３", 2880, 480, 1095, 375, 9, kGothic9},
    {"Option2", Kind::Option, kClientArea, "ボタン２", 1560, 480, 1215, 375, 8, kGothic9},
    {"Option1", Kind::Option, kClientArea, "ボタン１", 360, 480, 1215, 375, 7, kGothic9},
    {"File_name", Kind::FileList, kClientArea, nullptr, 4320, 1680, 2415, 1170, 6, kWindowFont,
     nullptr, kFileListName},
    {"Drv_name", Kind::DriveList, kClientArea, nullptr, 4320, 120, 2415, 300, 5, kWindowFont,
     nullptr, kDriveListName},
    {"dir_name", Kind::DirList, kClientArea, nullptr, 4320, 480, 2415, 1140, 4, kWindowFont,
     nullptr, kFolderListName},
    {"reset", Kind::Button, kClientArea, "初期設定(&S)", 2280, 1920, 1575, 495, 0, kGothic9,
     "各ボタンへの登録を抹消します。", nullptr, kNoTabStop},
    {"Frame1", Kind::Frame, kClientArea, "初期設定に戻す", 2040, 1560, 2055, 1095, 3, kGothic9},
    {"Cancel_but", Kind::Button, kClientArea, "戻る(&R)", 240, 2160, 1455, 495, 2, kGothic9,
     "ランチャー画面へと戻ります。"},
    {"touroku", Kind::Button, kClientArea, "登録(&T)", 240, 1560, 1455, 495, 1, kGothic9},
    {"Frame2", Kind::Frame, kClientArea, "ボタン番号選択", 120, 240, 4095, 1095, 10, kGothic9},
    {"Label3", Kind::Label, row(OptionControl::Frame2), "未登録", 2880, 600, 1095, 255, 13,
     kGothic975},
    {"Label1", Kind::Label, row(OptionControl::Frame2), "未登録", 360, 600, 1095, 255, 12,
     kGothic975},
    {"Label2", Kind::Label, row(OptionControl::Frame2), "未登録", 1560, 600, 1095, 255, 11,
     kGothic975},
}};
// Never reset: Enter, Enter would wipe every slot.
inline constexpr OptionControl kOptionFirstFocus = firstFocus<OptionControl>(kOptionControls);
static_assert(kOptionFirstFocus == OptionControl::touroku);

static_assert(rowsNamed(kOptionControls, {"Option3", "Option2", "Option1", "File_name", "Drv_name",
                                          "dir_name", "reset", "Frame1", "Cancel_but", "touroku",
                                          "Frame2", "Label3", "Label1", "Label2"}));

} // namespace zavo::forms
