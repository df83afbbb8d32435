// The classic key notation ("^p": Ctrl+P; "+" Shift, "%" Alt), each
// modifier holding for the next character only. Each backend plays it
// through its own key map.
#pragma once

#include <string_view>
#include <vector>

namespace zavo::core {

enum class Modifier { Ctrl, Shift, Alt };

// Plays `keys` as presses: `modifier(m, down)` for the modifier keys and
// `character(c)` for a whole stroke of a character key. Once a press fails
// no further key goes down, but every modifier held goes up again. True
// when every press succeeded.
template <class ModifierPress, class CharacterStroke>
bool play_key_notation(std::string_view keys, ModifierPress modifier, CharacterStroke character) {
    bool ok = true;
    std::vector<Modifier> held;
    const auto releaseHeld = [&] {
        for (auto m = held.rbegin(); m != held.rend(); ++m)
            ok = modifier(*m, false) && ok;
        held.clear();
    };
    for (const char c : keys) {
        if (c == '^' || c == '+' || c == '%') {
            const Modifier m = c == '^'   ? Modifier::Ctrl
                               : c == '+' ? Modifier::Shift
                                          : Modifier::Alt;
            ok = ok && modifier(m, true);
            held.push_back(m);
            continue;
        }
        ok = ok && character(c);
        releaseHeld();
    }
    releaseHeld();
    return ok;
}

} // namespace zavo::core
