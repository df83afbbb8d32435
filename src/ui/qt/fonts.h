#pragma once

namespace zavo::ui {
// Maps the designed Japanese font names to fonts that Linux desktops ship.
void installFontSubstitutions();
} // namespace zavo::ui
