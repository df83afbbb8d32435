#include "picture_box.h"

#include "core/twips.h"
#include "system_library.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

namespace zavo::ui {
namespace {

// HIMETRIC (1/100 mm) to screen pixels.
int himetricToPixels(OLE_XSIZE_HIMETRIC size, int dpi) {
    return MulDiv(size, dpi, 2540);
}

int screenDpi(int axis) {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// COM and the decoder are set up for the first picture, not at start: only
// the About window shows one.
bool comStarted = false;

bool startCom() {
    if (!comStarted) {
        using Initialize = HRESULT WINAPI(LPVOID, DWORD);
        const auto initialize = systemFunction<Initialize>(L"ole32.dll", "CoInitializeEx");
        comStarted = initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    }
    return comStarted;
}

IPicture* decode(IStream* stream, LONG size) {
    using Load = HRESULT WINAPI(LPSTREAM, LONG, BOOL, REFIID, LPVOID*);
    const auto load = systemFunction<Load>(L"oleaut32.dll", "OleLoadPicture");
    IPicture* picture = nullptr;
    if (!load ||
        FAILED(load(stream, size, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture))))
        return nullptr;
    return picture;
}

} // namespace

void endPictureServices() {
    if (!comStarted)
        return;
    using Uninitialize = void WINAPI();
    if (const auto uninitialize = systemFunction<Uninitialize>(L"ole32.dll", "CoUninitialize"))
        uninitialize();
    comStarted = false;
}

IPicture* loadPictureResource(int resourceId) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId),
                                      MAKEINTRESOURCEW(10)); // RT_RCDATA;
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    using CreateStream = HRESULT WINAPI(HGLOBAL, BOOL, LPSTREAM*);
    const auto createStream = systemFunction<CreateStream>(L"ole32.dll", "CreateStreamOnHGlobal");
    if (!bytes || size == 0 || !createStream || !startCom())
        return nullptr;
    // The stream owns a movable copy of the bytes and frees it on release.
    const HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!copy)
        return nullptr;
    std::memcpy(GlobalLock(copy), bytes, size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(createStream(copy, TRUE, &stream))) {
        GlobalFree(copy);
        return nullptr;
    }
    IPicture* const picture = decode(stream, static_cast<LONG>(size));
    stream->Release();
    return picture;
}

PictureBox::PictureBox(HWND parent, int id, int resourceId, int x, int y, int width, int height,
                       int dpi, MouseMove onMouseMove)
    : picture_(loadPictureResource(resourceId)), onMouseMove_(std::move(onMouseMove)) {
    if (picture_) {
        // The decoder gives the size in HIMETRIC at the screen's DPI: back to
        // the picture's own pixels, then scaled for this window.
        OLE_XSIZE_HIMETRIC w = 0;
        OLE_YSIZE_HIMETRIC h = 0;
        picture_->get_Width(&w);
        picture_->get_Height(&h);
        natural_ = {himetricToPixels(w, screenDpi(LOGPIXELSX)),
                    himetricToPixels(h, screenDpi(LOGPIXELSY))};
        width = core::scale_pixels(natural_.cx, dpi);
        height = core::scale_pixels(natural_.cy, dpi);
    }
    // The picture is stretched over the whole box: a box that changes size
    // (a new DPI) is drawn again in full, not only where it grew.
    create(L"ZAVO_picture", 0, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
           height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
           CS_HREDRAW | CS_VREDRAW);
}

void PictureBox::scaleTo(int dpi) {
    if (picture_ && hwnd_)
        SetWindowPos(hwnd_, nullptr, 0, 0, core::scale_pixels(natural_.cx, dpi),
                     core::scale_pixels(natural_.cy, dpi),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

PictureBox::~PictureBox() {
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (picture_)
        picture_->Release();
}

LRESULT PictureBox::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd_, &ps);
        if (picture_) {
            OLE_XSIZE_HIMETRIC w = 0;
            OLE_YSIZE_HIMETRIC h = 0;
            picture_->get_Width(&w);
            picture_->get_Height(&h);
            RECT client{};
            GetClientRect(hwnd_, &client);
            // Bottom-up source rectangle, as IPicture::Render expects.
            picture_->Render(dc, 0, 0, client.right, client.bottom, 0, h, w, -h, nullptr);
        }
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_MOUSEMOVE: {
        // A box that moves under a resting pointer gets a move message at
        // the same screen point: that is not the user moving the mouse, and
        // after a shake it would start the next one by itself.
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        POINT screen = at;
        ClientToScreen(hwnd_, &screen);
        if (hasLastPointer_ && screen.x == lastPointer_.x && screen.y == lastPointer_.y)
            return 0;
        if (!hasLastPointer_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
            TrackMouseEvent(&track);
        }
        lastPointer_ = screen;
        hasLastPointer_ = true;
        if (onMouseMove_)
            onMouseMove_(wParam, at.x, at.y);
        return 0;
    }
    case WM_MOUSELEAVE:
        hasLastPointer_ = false;
        return 0;
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

} // namespace zavo::ui
