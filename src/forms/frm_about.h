// The About window: version text and a picture that shakes under the mouse.
#pragma once

#include "about_view.h"
#include "form.h"
#include "form_events.h"
#include "frm_about_sheet.h"

#include <array>

namespace zavo::forms {

class frmABOUT final : public FormWithView<AboutView> {
public:
    frmABOUT(Forms& forms, ViewFactory& views);

    void Form_Unload() override;

    // Handlers, named after their control and event.
    void OK_but_Click();
    // `button` and `shift` in the values of vb_input.h.
    void Picture1_MouseMove(int button, int shift, float x, float y);
    // The close box: the window unloads.
    void Form_QueryClose();
};

// The window's button and what a click on it runs.
inline constexpr std::array<ButtonHandler<frmABOUT, AboutControl>, 1> kAboutButtons{{
    {AboutControl::OK_but, &frmABOUT::OK_but_Click},
}};

} // namespace zavo::forms
