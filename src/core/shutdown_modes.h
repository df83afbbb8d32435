#pragma once

#include "../platform/services.h"

#include <cstdint>
#include <optional>

namespace zavo::core {

// ExitWindowsEx flags for a shutdown mode of exit_windows.
constexpr std::optional<unsigned> shutdown_flags(std::int16_t mode) {
    using namespace platform;
    switch (mode) {
    case 1:
        return EWX_SHUTDOWN;
    case 2:
        return EWX_REBOOT;
    case 3:
        return EWX_SHUTDOWN | EWX_FORCE;
    case 4:
        return EWX_REBOOT | EWX_FORCE;
    default:
        return std::nullopt;
    }
}

} // namespace zavo::core
