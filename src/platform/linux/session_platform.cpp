#include "session_platform.h"

#include <cstdlib>
#include <cstring>

namespace zavo::platform {
namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

SessionEnvironment sessionEnvironment() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return {isSet("QT_QPA_PLATFORM"), isSet("WAYLAND_DISPLAY"),
            type && std::strcmp(type, "wayland") == 0, isSet("DISPLAY")};
}

const char* qtPlatformFor(const SessionEnvironment& session) {
    if (session.qtPlatformSet || !(session.waylandDisplay || session.waylandSession))
        return nullptr;
    return session.x11Display ? "xcb" : "wayland";
}

} // namespace zavo::platform
