#include "module1.h"

#include "shutdown_modes.h"

namespace zavo::core {

bool Module1::exit_windows(std::int16_t mode) {
    const auto flags = shutdown_flags(mode);
    if (!flags)
        return false;
    return services.exitWindowsEx(*flags, 0);
}

} // namespace zavo::core
