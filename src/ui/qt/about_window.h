// The About window on Qt: draws the design sheet and forwards its events to
// the form, which holds all behaviour.
#pragma once

#include "forms/about_view.h"
#include "forms/frm_about.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace zavo::ui {

class LineControl;

class AboutWindow final : public QDialog, public forms::AboutView {
    Q_OBJECT
public:
    explicit AboutWindow(forms::frmABOUT& form);

    // forms::AboutView
    void show() override;
    void hide() override;
    void dispose() override;
    void setStrokeVisible(int index, bool visible) override;
    void refresh() override;
    float pictureLeft() override;
    float pictureTop() override;
    void movePicture(float left, float top) override;

    QLabel* Picture1() const { return Picture1_; }
    QPushButton* OK_but() const { return OK_but_; }
    LineControl* Line1(int index) const { return Line1_[static_cast<std::size_t>(index)]; }

    static constexpr int kClientLeft = 686;
    static constexpr int kClientTop = 382;
    static constexpr int kClientWidth = 318;
    static constexpr int kClientHeight = 213;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void forward(const std::function<void()>& handler);

    forms::frmABOUT& form_;
    QLabel* Picture1_ = nullptr;
    QPushButton* OK_but_ = nullptr;
    std::array<LineControl*, 5> Line1_{};
    // Picture1's Left and Top as the control holds them: single-precision
    // twips, of which the widget shows the nearest pixel. Read back as whole
    // pixels, the rounding would walk the picture out of the window.
    float left_ = 0, top_ = 0;
    bool disposed_ = false;
};

} // namespace zavo::ui
