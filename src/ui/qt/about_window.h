// The About window on Qt: draws the design sheet and forwards its events to
// the form, which holds all behaviour.
#pragma once

#include "control_builder.h"
#include "form_window.h"
#include "forms/about_view.h"
#include "forms/frm_about.h"
#include "forms/frm_about_sheet.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace zavo::ui {

class LineControl;

class AboutWindow final : public FormWindow<QDialog, forms::AboutView, forms::frmABOUT> {
    Q_OBJECT
public:
    explicit AboutWindow(forms::frmABOUT& form);

    // forms::AboutView
    void setStrokeVisible(int index, bool visible) override;
    void refresh() override;
    float pictureLeft() override { return left_; }
    float pictureTop() override { return top_; }
    void movePicture(float left, float top) override;

    QLabel* Picture1() const;
    QPushButton* OK_but() const;
    LineControl* Line1(int index) const;
    const SheetWidgets<forms::AboutControl>& controls() const { return controls_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    SheetWidgets<forms::AboutControl> controls_;
    // Picture1's Left and Top as the control holds them: single-precision
    // twips, of which the widget shows the nearest pixel. Read back as whole
    // pixels, the rounding would walk the picture out of the window.
    float left_ = 0, top_ = 0;
};

} // namespace zavo::ui
