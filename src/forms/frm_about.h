// The About window: version text and a picture that shakes under the mouse.
#pragma once

#include "about_view.h"
#include "form.h"

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

} // namespace zavo::forms
