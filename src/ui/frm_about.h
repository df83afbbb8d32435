// The About window: version text and a picture that shakes under the mouse.
#pragma once

#include "form.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace zavo::ui {

class LineControl;

class frmABOUT : public QDialog, public Form {
    Q_OBJECT
public:
    explicit frmABOUT(Forms& forms);

    QWidget& window() override { return *this; }
    void Form_Unload() override;

    // Handlers, named after their control and event.
    void OK_but_Click();
    void Picture1_MouseMove(int button, int shift, float x, float y);

    QLabel* Picture1() const { return Picture1_; }
    // The picture's Left and Top in twips, as the control holds them.
    float Picture1Left() const;
    float Picture1Top() const;
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
    // Moves the picture to a position in twips and draws the step at once.
    void movePicture(float leftTwips, float topTwips);

    QLabel* Picture1_ = nullptr;
    QPushButton* OK_but_ = nullptr;
    std::array<LineControl*, 5> Line1_{};
};

} // namespace zavo::ui
