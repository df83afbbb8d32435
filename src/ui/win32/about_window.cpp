#include "about_window.h"

#include "core/twips.h"
#include "resource_ids.h"
#include "text.h"
#include "vb_input.h"

namespace zavo::ui {
namespace {

using core::twips_to_pixels;
using forms::AboutControl;
using forms::kAboutControls;

const forms::ControlSpec& sheetRow(AboutControl id) {
    return forms::rowOf<forms::ControlSpec>(kAboutControls, id);
}

// The pixels a line covers at `dpi`, with room for its pen.
RECT lineBounds(const forms::ControlSpec& line, int dpi) {
    const int width = core::scale_pixels(1, dpi);
    RECT r = pixelRect(line, dpi);
    return {std::min(r.left, r.right) - width, std::min(r.top, r.bottom) - width,
            std::max(r.left, r.right) + width + 1, std::max(r.top, r.bottom) + width + 1};
}

} // namespace

AboutWindow::AboutWindow(forms::frmABOUT& form) : FormWindow(form) {
    if (!createForSheet(forms::kAboutWindow, kStyle | WS_CLIPCHILDREN, 0, nullptr))
        return;
    // Where its place lies partly off the monitor's work area (a scaled or
    // small screen), the nearest place inside it.
    keepOnScreen(hwnd_);

    // Picture1 (tab index 4) is no tab stop: the controls before it in the
    // tab order come first, so it takes its place after them.
    controls_ = SheetControls(hwnd_, kAboutControls, dpi_);
    const forms::ControlSpec& picture = sheetRow(AboutControl::Picture1);
    left_ = float(picture.left);
    top_ = float(picture.top);
    const RECT box = pixelRect(picture, dpi_);
    // It carries its row's control id, as the sheet's controls do.
    const int id = kFirstControlId + forms::row(AboutControl::Picture1);
    Picture1_ = std::make_unique<PictureBox>(
        hwnd_, id, ZAVO_IDR_ABOUT_GIF, box.left, box.top, box.right - box.left,
        box.bottom - box.top, dpi_, [this](WPARAM keys, int x, int y) {
            const int button = vbButtons(keys);
            const int shift = vbShift(keys);
            const float atX = float(core::pixels_to_twips(x, dpi_));
            const float atY = float(core::pixels_to_twips(y, dpi_));
            forward([this, button, shift, atX, atY] {
                form_.Picture1_MouseMove(button, shift, atX, atY);
            });
        });
    // Windows' accessibility names a window of its own class by its text,
    // which the box never draws.
    if (picture.accessibleName)
        SetWindowTextW(Picture1_->hwnd(), wide(picture.accessibleName).c_str());

    // Enter and Esc both press OK_but.
    for (const auto& button : forms::kAboutButtons)
        controls_.get<Button>(button.button).onClick = [this, button] { forward(button); };
    Button& ok = controls_.get<Button>(AboutControl::OK_but);
    SendMessageW(ok.hwnd(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    focus_ = firstFocus_ = controls_.get(forms::kAboutFirstFocus).hwnd();
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::dispose() {
    Picture1_.reset();
    FormWindow::dispose();
}

void AboutWindow::setStrokeVisible(int index, bool visible) {
    if (index < 0 || index >= forms::kStrokes ||
        strokeVisible_[static_cast<std::size_t>(index)] == visible)
        return;
    strokeVisible_[static_cast<std::size_t>(index)] = visible;
    const RECT bounds = lineBounds(sheetRow(forms::kLine1[static_cast<std::size_t>(index)]), dpi_);
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
    SetWindowPos(Picture1_->hwnd(), nullptr, twips_to_pixels(left, dpi_),
                 twips_to_pixels(top, dpi_), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void AboutWindow::paint(HDC dc) {
    for (std::size_t i = 0; i < forms::kLine1.size(); ++i)
        if (strokeVisible_[i])
            drawLine(dc, sheetRow(forms::kLine1[i]), GetSysColor(COLOR_WINDOWTEXT), 1, dpi_);
    for (const forms::LineColour& rule : forms::kAboutRules)
        drawLine(dc, sheetRow(rule.line), RGB(rule.red, rule.green, rule.blue), rule.width, dpi_);
}

// The picture keeps its place in twips and takes the new DPI's size.
void AboutWindow::onDpiChanged() {
    Picture1_->scaleTo(dpi_);
    SetWindowPos(Picture1_->hwnd(), nullptr, twips_to_pixels(left_, dpi_),
                 twips_to_pixels(top_, dpi_), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Enter and Esc, as the dialog keys send them.
void AboutWindow::onCommand(int id) {
    if (id == IDOK || id == IDCANCEL)
        forward(&forms::frmABOUT::OK_but_Click);
}

LRESULT AboutWindow::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == DM_GETDEFID)
        return MAKELRESULT(kFirstControlId + forms::row(AboutControl::OK_but), DC_HASDEFID);
    return FormWindow::onMessage(msg, wParam, lParam);
}

} // namespace zavo::ui
