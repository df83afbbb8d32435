#include "frm_about.h"

#include "core/shake.h"

namespace zavo::forms {

frmABOUT::frmABOUT(Forms& forms, ViewFactory& views)
    : FormWithView(forms, FormId::About, views, *this) {}

void frmABOUT::Form_Unload() {
    forms_.show(FormId::Launcher);
}

void frmABOUT::OK_but_Click() {
    forms_.show(FormId::Launcher);
    forms_.unload(FormId::About);
}

void frmABOUT::Form_QueryClose() {
    forms_.unload(FormId::About);
}

void frmABOUT::Picture1_MouseMove(int, int, float, float) {
    for (int i = 0; i < kStrokes; ++i)
        view_.setStrokeVisible(i, true);
    // The strokes are on screen before the picture starts moving.
    view_.refresh();

    // Left and Top are read back from the control before every step, so
    // whatever rounding the window system applies carries into the next.
    for (int cycle = 1; cycle <= core::kShakeCycles; ++cycle) {
        for (const core::ShakeStep& step : core::kShakeSteps) {
            const float left = view_.pictureLeft();
            const float top = view_.pictureTop();
            view_.movePicture(left + float(step.dLeft), top + float(step.dTop));
        }
    }
    view_.movePicture(view_.pictureLeft(), float(core::kShakeHomeTop));
    view_.movePicture(float(core::kShakeHomeLeft), view_.pictureTop());

    for (int i = 0; i < kStrokes; ++i)
        view_.setStrokeVisible(i, false);
}

} // namespace zavo::forms
