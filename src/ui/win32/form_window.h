// What every Win32 window of a form does alike: events handed to the form
// through Forms::run, show in front, hide, dispose, the focus kept across
// deactivation, WM_COMMAND reflected to the control that sent it, the dialog
// keys, the close box left to the form to decide, and a new layout when the
// window moves to a monitor of another DPI.
#pragma once

#include "forms/form_events.h"
#include "sheet_controls.h"
#include "window.h"

namespace zavo::ui {

// `View` is the form's view interface and `FormT` the form, which has a
// Form_QueryClose handler for the close box.
template <class View, class FormT> class FormWindow : public Window, public View {
public:
    // forms::FormView
    // Every showing starts on the sheet's first focus, as a fresh window does.
    void show() override {
        focus_ = firstFocus_;
        showInFront(focus_);
    }
    void hide() override { ShowWindow(hwnd_, SW_HIDE); }
    void dispose() override {
        forward.stop();
        DestroyWindow(hwnd_);
        delete this;
    }

    // The sheet's controls, each found by its row's identity.
    const SheetControls& controls() const { return controls_; }

protected:
    explicit FormWindow(FormT& form) : form_(form) {}

    // A command that no control of ours sent: the dialog keys (IDOK for
    // Enter, IDCANCEL for Esc), menu items and accelerators. Enter goes to
    // the focused control.
    virtual void onCommand(int id) {
        if (id == IDOK)
            if (const HWND f = GetFocus(); f && IsChild(hwnd_, f))
                if (Control* control = controls_.of(f))
                    control->onEnter();
    }
    virtual void paint(HDC) {}
    // Lays out again what the sheet controls do not cover, at the new DPI.
    virtual void onDpiChanged() {}

    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_COMMAND:
            if (const HWND from = reinterpret_cast<HWND>(lParam)) {
                if (Control* control = controls_.of(from))
                    control->onCommand(HIWORD(wParam));
            } else {
                onCommand(LOWORD(wParam));
            }
            return 0;
        case WM_CLOSE:
            forward(&FormT::Form_QueryClose);
            return 0;
        case WM_ACTIVATE:
            // The focus goes back to the control that had it.
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (const HWND f = GetFocus(); f && IsChild(hwnd_, f))
                    focus_ = f;
            } else if (focus_ && !HIWORD(wParam)) {
                SetFocus(focus_);
            }
            return 0;
        case WM_DPICHANGED:
            // The suggested rectangle first, then every control and font at
            // the new DPI, then the client area's size exactly; then all of
            // it drawn anew, the children too, which a window clipping its
            // children would otherwise leave as they were.
            takeDpi(wParam, lParam);
            controls_.layout(dpi_);
            onDpiChanged();
            fitClientToSheet();
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
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

    FormT& form_;
    // Runs a handler of the form; nothing once the form has disposed of us.
    forms::FormEvents<FormT> forward{form_};
    SheetControls controls_;
    HWND focus_ = nullptr;      // the control that had the focus when we lost it
    HWND firstFocus_ = nullptr; // where the focus starts whenever the window shows
};

} // namespace zavo::ui
