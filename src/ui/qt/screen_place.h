// Keeping a Qt window on screen. Qt places a top-level window by its client
// rectangle, in logical pixels; the window manager draws its frame outside.
#pragma once

#include "core/screen_fit.h"

#include <QMargins>
#include <QRect>

class QWidget;

namespace zavo::ui {

// The frame the window manager puts around `window`: its own once framed,
// before that the frame of another window on screen, the best guess for ours
// (none when there is no other).
QMargins frameMarginsOf(const QWidget& window);

// The work area of the screen that holds the client rectangle `client`
// (logical pixels) with `frame` around it, less that frame: where the
// client rectangle may go. Empty when no screen is known.
core::PixelRect clientWorkArea(const QRect& client, const QMargins& frame);

// Moves `window` the least distance that puts it, frame included, wholly
// inside its screen's work area; a window already inside does not move.
void keepOnScreen(QWidget& window);

// Calls keepOnScreen once the window manager has framed `window` (its first
// exposure after showing), when the frame is known for certain.
void keepOnScreenOnceFramed(QWidget& window);

} // namespace zavo::ui
