#pragma once

#include "services.h"

#include <cstdint>
#include <optional>

namespace zavo::core {

// ExitWindowsEx flags for a shutdown mode of exit_windows.
constexpr std::optional<unsigned> shutdown_flags(std::int16_t mode) {
    using namespace platform;
    switch (mode) {
    case 1:
        return kEwxShutdown;
    case 2:
        return kEwxReboot;
    case 3:
        return kEwxShutdown | kEwxForce;
    case 4:
        return kEwxReboot | kEwxForce;
    default:
        return std::nullopt;
    }
}

} // namespace zavo::core
