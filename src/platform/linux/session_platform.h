// Which Qt platform plugin the launcher runs on, decided before the
// application object exists. Placing the window, the topmost band and Ctrl+P
// all need X11: in a Wayland session with XWayland the launcher runs there.
#pragma once

namespace zavo::platform {

struct SessionEnvironment {
    bool qtPlatformSet = false;  // QT_QPA_PLATFORM: the user's choice stands
    bool waylandDisplay = false; // WAYLAND_DISPLAY
    bool waylandSession = false; // XDG_SESSION_TYPE=wayland
    bool x11Display = false;     // DISPLAY (XWayland in a Wayland session)
};

// The process's own environment; an empty variable counts as unset.
SessionEnvironment sessionEnvironment();

// "xcb" in a Wayland session with XWayland, "wayland" in one without (native:
// no placement, no topmost band, no synthetic keystrokes), or null to leave
// Qt's own choice (an X11 session, or QT_QPA_PLATFORM set by the user).
const char* qtPlatformFor(const SessionEnvironment& session);

} // namespace zavo::platform
