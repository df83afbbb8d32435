// What the About window's handlers need of its window.
#pragma once

#include "form.h"

namespace zavo::forms {

class AboutView : public FormView {
public:
    // Line1(0) to Line1(4).
    virtual void setStrokeVisible(int index, bool visible) = 0;
    // Draws the whole window now, not when the event loop next runs.
    virtual void refresh() = 0;
    // Picture1's Left and Top in twips, as the control holds them.
    virtual float pictureLeft() = 0;
    virtual float pictureTop() = 0;
    // Moves Picture1 (size unchanged) and draws the change now.
    virtual void movePicture(float left, float top) = 0;

protected:
    ~AboutView() = default;
};

} // namespace zavo::forms
