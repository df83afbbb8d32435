// What each Command1 button starts.
#pragma once

#include <array>
#include <string_view>

namespace zavo::core {

struct FixedLaunch {
    std::string_view command; // the one full path of the program, as it stands
    int windowStyle;          // 1 normal, 3 maximized; both focused
};

inline constexpr std::array<FixedLaunch, 6> kFixedLaunches{{
    {R"(c:\program files\windows media player\wmplayer.exe)", 1},
    {R"(c:\program files\internet explorer\iexplore.exe)", 3},
    {R"(c:\program files\microsoft reference\bookshelf basic 2.0\bs98jl.exe)", 3},
    {R"(c:\program files\jrail\rail95.exe)", 1},
    {R"(c:\program files\alpsmap\rdw50\program\pa2001.exe)", 3},
    {R"(c:\windows\explorer.exe)", 1},
}};

inline constexpr int kMediaPlayerIndex = 0;
inline constexpr int kFirstSlotIndex = 6; // Command1(5 + n) is slot n
inline constexpr int kSlotWindowStyle = 1;
inline constexpr long kMediaPlayerWaitRounds = 10'000'000;
// How long the player may take to be ready for input before Ctrl+P goes to
// whatever window is active.
inline constexpr int kMediaPlayerReadyTimeoutMs = 5000;
inline constexpr std::string_view kMediaPlayerKeys = "^p";

// The slot number (1 to 3) of a Command1 index, or 0 for a fixed button.
constexpr int slot_of_index(int index) {
    return index >= kFirstSlotIndex && index < kFirstSlotIndex + 3 ? index - 5 : 0;
}

} // namespace zavo::core
