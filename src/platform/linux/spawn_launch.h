#pragma once

#include <string>
#include <sys/types.h>

namespace zavo::platform {
// Starts the executable at the absolute path `path`, detached, in the start
// folder (folder_lists::startFolder), with no arguments and no shell: the path is never split,
// searched for or interpreted. A start that fails (missing file, not
// executable, a directory, a relative or empty path) is reported before this
// returns. The child is reaped when it ends, so it never lingers as a zombie.
// Its process id goes to `started` when given.
bool spawnDetached(const std::string& path, std::string& error, pid_t* started = nullptr);
} // namespace zavo::platform
