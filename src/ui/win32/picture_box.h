// Picture1 of the About window: a child window showing the GIF resource at
// its natural size scaled from 96 DPI to the window's, its transparent
// colour kept (the window's face shows
// through). Pointer moves over it go to `onMouseMove` in pixels; the moves
// the system makes up when the box slides under a resting pointer do not.
#pragma once

#include "window.h"

#include <functional>

struct IPicture;

namespace zavo::ui {

class PictureBox final : public Window {
public:
    using MouseMove = std::function<void(WPARAM keys, int x, int y)>;

    // Creates the box at (x, y) in `parent` with the control id `id`, sized
    // to its picture at `dpi` (the sheet's size when the picture cannot be
    // loaded).
    PictureBox(HWND parent, int id, int resourceId, int x, int y, int width, int height, int dpi,
               MouseMove onMouseMove);
    ~PictureBox() override;

    // Sizes the box to its picture at `dpi`; it keeps its place.
    void scaleTo(int dpi);

protected:
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    IPicture* picture_ = nullptr;
    SIZE natural_{}; // the picture's pixels at 96 DPI
    MouseMove onMouseMove_;
    // Screen point of the last move passed on; forgotten when the pointer
    // leaves the box.
    POINT lastPointer_{};
    bool hasLastPointer_ = false;
};

// The picture in a resource of type RCDATA, through the system's picture
// decoder (GIF, JPEG, BMP, ICO); nullptr when it cannot be read.
IPicture* loadPictureResource(int resourceId);

// Ends what the first picture started (COM on this thread); at the end of the
// program, once every picture is released.
void endPictureServices();

} // namespace zavo::ui
