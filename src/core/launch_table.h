// What each Command1 button starts.
#pragma once

#include "slot_record.h"

#include <array>
#include <string_view>

namespace zavo::core {

// The job a fixed program does where a desktop has its own default program
// for it, which then stands in when the path names nothing (Linux).
enum class DesktopDefault { None, AudioPlayer, WebBrowser, FileManager };

// What a fixed button means to start.
struct FixedLaunch {
    std::string_view command; // the one full path of the program, as it stands
    int windowStyle;          // 1 normal, 3 maximized; both focused
    DesktopDefault standIn;
};

inline constexpr std::array<FixedLaunch, 6> kFixedLaunches{{
    {R"(c:\program files\windows media player\wmplayer.exe)", 1, DesktopDefault::AudioPlayer},
    {R"(c:\program files\internet explorer\iexplore.exe)", 3, DesktopDefault::WebBrowser},
    {R"(c:\program files\microsoft reference\bookshelf basic 2.0\bs98jl.exe)", 3,
     DesktopDefault::None},
    {R"(c:\program files\jrail\rail95.exe)", 1, DesktopDefault::None},
    {R"(c:\program files\alpsmap\rdw50\program\pa2001.exe)", 3, DesktopDefault::None},
    {R"(c:\windows\explorer.exe)", 1, DesktopDefault::FileManager},
}};

// The stand-in of a command line: that of the fixed program it names
// exactly, None for any other (the other fixed programs, the user slots).
constexpr DesktopDefault stand_in_of(std::string_view command) {
    for (const FixedLaunch& fixed : kFixedLaunches)
        if (fixed.command == command)
            return fixed.standIn;
    return DesktopDefault::None;
}

inline constexpr int kMediaPlayerIndex = 0;
static_assert(kFixedLaunches[kMediaPlayerIndex].standIn == DesktopDefault::AudioPlayer);
inline constexpr int kFirstSlotIndex = 6; // Command1(6) is slot 1
inline constexpr int kSlotWindowStyle = 1;
inline constexpr long kMediaPlayerWaitRounds = 10'000'000;
// How long the player may take to be ready for input before Ctrl+P goes to
// whatever window is active.
inline constexpr int kMediaPlayerReadyTimeoutMs = 5000;
inline constexpr std::string_view kMediaPlayerKeys = "^p";

// The slot number (1 to 3) of a Command1 index, or 0 for a fixed button.
constexpr int slot_of_index(int index) {
    return index >= kFirstSlotIndex && index < kFirstSlotIndex + kSlotCount
               ? index - kFirstSlotIndex + 1
               : 0;
}

// The Command1 index of slot `slot` (1 to 3).
constexpr int index_of_slot(int slot) {
    return kFirstSlotIndex + slot - 1;
}
static_assert(slot_of_index(index_of_slot(1)) == 1 &&
              slot_of_index(index_of_slot(kSlotCount)) == kSlotCount);

} // namespace zavo::core
