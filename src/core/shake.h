// The four jumps of one shake cycle of the About picture, in twips.
#pragma once

#include <array>

namespace zavo::core {

struct ShakeStep {
    int dLeft;
    int dTop;
};

inline constexpr std::array<ShakeStep, 4> kShakeSteps{
    {{-50, -20}, {30, -10}, {40, 50}, {-20, -20}}};
inline constexpr int kShakeCycles = 1000;
inline constexpr int kShakeHomeLeft = 240;
inline constexpr int kShakeHomeTop = 240;

} // namespace zavo::core
