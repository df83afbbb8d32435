// A menu sheet's shortcut ("Ctrl+Z", "Shift+F", "Alt+1") as an accelerator
// key; the caller sets the command.
#pragma once

#include "platform/win32/win32_api.h"

#include <string_view>

namespace zavo::ui {

inline bool parseMenuShortcut(std::string_view text, ACCEL& key) {
    struct Modifier {
        std::string_view prefix;
        BYTE flag;
    };
    constexpr Modifier kModifiers[] = {{"Ctrl+", FCONTROL}, {"Shift+", FSHIFT}, {"Alt+", FALT}};
    key.fVirt = FVIRTKEY;
    for (bool more = true; more;) {
        more = false;
        for (const Modifier& m : kModifiers)
            if (text.starts_with(m.prefix)) {
                key.fVirt |= m.flag;
                text.remove_prefix(m.prefix.size());
                more = true;
            }
    }
    // Letters and digits are their own virtual-key codes.
    if (text.size() != 1)
        return false;
    const char c = text[0];
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
        return false;
    key.key = static_cast<WORD>(c);
    return true;
}

} // namespace zavo::ui
