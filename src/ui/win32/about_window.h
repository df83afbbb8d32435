// The About window on Win32: draws the design sheet and forwards its events
// to the form.
#pragma once

#include "form_window.h"
#include "forms/about_view.h"
#include "forms/frm_about.h"
#include "forms/frm_about_sheet.h"
#include "picture_box.h"

#include <array>
#include <memory>

namespace zavo::ui {

class AboutWindow final : public FormWindow<forms::AboutView, forms::frmABOUT> {
public:
    explicit AboutWindow(forms::frmABOUT& form);

    // forms::AboutView
    void dispose() override;
    void setStrokeVisible(int index, bool visible) override;
    void refresh() override;
    float pictureLeft() override { return left_; }
    float pictureTop() override { return top_; }
    void movePicture(float left, float top) override;

    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

protected:
    LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onCommand(int id) override;
    void paint(HDC dc) override;
    void onDpiChanged() override;

private:
    ~AboutWindow() override;

    std::unique_ptr<PictureBox> Picture1_;
    // Picture1's Left and Top in twips, as the control holds them.
    float left_ = 0;
    float top_ = 0;
    std::array<bool, forms::kStrokes> strokeVisible_{};
};

} // namespace zavo::ui
