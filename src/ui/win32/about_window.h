// The About window on Win32: draws the design sheet and forwards its events
// to the form.
#pragma once

#include "forms/about_view.h"
#include "forms/frm_about.h"
#include "picture_box.h"
#include "sheet_controls.h"
#include "window.h"

#include <array>
#include <functional>
#include <memory>

namespace zavo::ui {

class AboutWindow final : public Window, public forms::AboutView {
public:
    explicit AboutWindow(forms::frmABOUT& form);

    // forms::AboutView
    void show() override;
    void hide() override;
    void dispose() override;
    void setStrokeVisible(int index, bool visible) override;
    void refresh() override;
    float pictureLeft() override { return left_; }
    float pictureTop() override { return top_; }
    void movePicture(float left, float top) override;

    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

protected:
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    ~AboutWindow() override;
    void forward(const std::function<void()>& handler);
    void paint(HDC dc);

    forms::frmABOUT& form_;
    SheetControls controls_;
    std::unique_ptr<PictureBox> Picture1_;
    // Picture1's Left and Top in twips, as the control holds them.
    float left_ = 0;
    float top_ = 0;
    std::array<bool, 5> strokeVisible_{};
    HWND OK_but_ = nullptr;
    HWND focus_ = nullptr;
    bool disposed_ = false;
};

} // namespace zavo::ui
