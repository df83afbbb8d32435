#pragma once

#include <string>

namespace zavo::platform {
// Starts the executable at the absolute path `path`, detached, in the current
// working folder, with no arguments and no shell: the path is never split,
// searched for or interpreted. A start that fails (missing file, not
// executable, a directory, a relative or empty path) is reported before this
// returns. The child is reaped when it ends, so it never lingers as a zombie.
bool spawnDetached(const std::string& path, std::string& error);
} // namespace zavo::platform
