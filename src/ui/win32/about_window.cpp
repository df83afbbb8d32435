#include "about_window.h"

#include "core/twips.h"
#include "forms/frm_about_sheet.h"
#include "resource_ids.h"
#include "text.h"

#include <string_view>

namespace zavo::ui {
namespace {

using core::kTwipsPerPixel;
using core::twips_to_pixels;
using forms::kAboutControls;
using forms::kAboutWindow;

const forms::ControlSpec& row(std::string_view name) {
    for (const forms::ControlSpec& r : kAboutControls)
        if (name == r.name)
            return r;
    return kAboutControls[0];
}

const forms::ControlSpec& stroke(int index) {
    static const std::array<const forms::ControlSpec*, 5> strokes = [] {
        std::array<const forms::ControlSpec*, 5> s{};
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] = &row("Line1_" + std::to_string(i));
        return s;
    }();
    return *strokes[static_cast<std::size_t>(index)];
}

// The pixels a line covers, with room for its pen.
RECT lineBounds(const forms::ControlSpec& line, int width) {
    RECT r = pixelRect(line);
    return {std::min(r.left, r.right) - width, std::min(r.top, r.bottom) - width,
            std::max(r.left, r.right) + width + 1, std::max(r.top, r.bottom) + width + 1};
}

} // namespace

AboutWindow::AboutWindow(forms::frmABOUT& form) : form_(form) {
    const RECT outer =
        outerRect(twips_to_pixels(kAboutWindow.clientLeft), twips_to_pixels(kAboutWindow.clientTop),
                  twips_to_pixels(kAboutWindow.clientWidth),
                  twips_to_pixels(kAboutWindow.clientHeight), kStyle, 0, false);
    create(wide(kAboutWindow.name).c_str(), 0, wide(kAboutWindow.caption).c_str(),
           kStyle | WS_CLIPCHILDREN, outer.left, outer.top, outer.right - outer.left,
           outer.bottom - outer.top, nullptr, nullptr);
    if (!hwnd_)
        return;
    placeClientAt(hwnd_, twips_to_pixels(kAboutWindow.clientLeft),
                  twips_to_pixels(kAboutWindow.clientTop));

    // Picture1 (tab index 4) is no tab stop: the controls before it in the
    // tab order come first, so it takes its place after them.
    controls_ = buildControls(hwnd_, kAboutControls);
    const forms::ControlSpec& picture = row("Picture1");
    left_ = float(picture.left);
    top_ = float(picture.top);
    const RECT box = pixelRect(picture);
    Picture1_ = std::make_unique<PictureBox>(
        hwnd_, ZAVO_IDR_ABOUT_GIF, box.left, box.top, box.right - box.left, box.bottom - box.top,
        [this](WPARAM keys, int x, int y) {
            const int buttons = ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                                ((keys & MK_MBUTTON) ? 4 : 0);
            const int shift = ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                              (GetKeyState(VK_MENU) < 0 ? 4 : 0);
            const float atX = float(x * kTwipsPerPixel);
            const float atY = float(y * kTwipsPerPixel);
            forward([this, buttons, shift, atX, atY] {
                form_.Picture1_MouseMove(buttons, shift, atX, atY);
            });
        });

    // Enter and Esc both press OK_but.
    OK_but_ = controls_["OK_but"];
    SendMessageW(OK_but_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    focus_ = OK_but_;
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::forward(const std::function<void()>& handler) {
    if (!disposed_)
        form_.handle(handler);
}

void AboutWindow::show() {
    showInFront(focus_);
}

void AboutWindow::hide() {
    ShowWindow(hwnd_, SW_HIDE);
}

void AboutWindow::dispose() {
    disposed_ = true;
    Picture1_.reset();
    DestroyWindow(hwnd_);
    delete this;
}

void AboutWindow::setStrokeVisible(int index, bool visible) {
    if (index < 0 || index >= 5 || strokeVisible_[static_cast<std::size_t>(index)] == visible)
        return;
    strokeVisible_[static_cast<std::size_t>(index)] = visible;
    const RECT bounds = lineBounds(stroke(index), 1);
    InvalidateRect(hwnd_, &bounds, TRUE);
}

void AboutWindow::refresh() {
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void AboutWindow::movePicture(float left, float top) {
    left_ = left;
    top_ = top;
    // Moving invalidates what it uncovers; drawn now, not when the event
    // loop next runs: the whole shake happens inside one handler.
    SetWindowPos(Picture1_->hwnd(), nullptr, twips_to_pixels(left), twips_to_pixels(top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void AboutWindow::paint(HDC dc) {
    for (int i = 0; i < 5; ++i)
        if (strokeVisible_[static_cast<std::size_t>(i)])
            drawLine(dc, stroke(i), GetSysColor(COLOR_WINDOWTEXT), 1);
    for (const forms::LineColour& rule : forms::kAboutRules)
        drawLine(dc, row(rule.name), RGB(rule.red, rule.green, rule.blue), rule.width);
}

LRESULT AboutWindow::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL ||
            (reinterpret_cast<HWND>(lParam) == OK_but_ && HIWORD(wParam) == BN_CLICKED))
            forward([this] { form_.OK_but_Click(); });
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(GetDlgCtrlID(OK_but_), DC_HASDEFID);
    case WM_CLOSE:
        forward([this] { form_.Form_QueryClose(); });
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const HWND f = GetFocus(); f && IsChild(hwnd_, f))
                focus_ = f;
        } else if (focus_ && !HIWORD(wParam)) {
            SetFocus(focus_);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd_, &ps);
        paint(dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    default:
        return defaultProc(msg, wParam, lParam);
    }
}

} // namespace zavo::ui
