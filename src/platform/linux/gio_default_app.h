#pragma once

#include <string>
#include <sys/types.h>

namespace zavo::platform {

// Starts the default application for `contentType` from the freedesktop
// database (mimeapps.list and desktop entries) through GIO, with the home
// folder as its one argument when `openHomeFolder` is set and nothing
// otherwise. The entry's Exec line is run without a shell (nor a wrapper), in
// a session of its own. False, with `error` filled, before this returns when
// there is no default application, its program is not installed or cannot be
// started. The started program's process id goes to `started` when given.
// GIO is loaded at the first call, so that start-up does not pay for it.
bool launchDefaultApplication(const char* contentType, bool openHomeFolder, std::string& error,
                              pid_t* started = nullptr);

} // namespace zavo::platform
