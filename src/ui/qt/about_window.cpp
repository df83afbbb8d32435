#include "about_window.h"

#include "core/twips.h"
#include "line_control.h"
#include "screen_place.h"
#include "vb_input.h"

#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

namespace zavo::ui {
namespace {
constexpr const char* kPicture = ":/about.gif";
}

using core::kTwipsPerPixel;
using forms::AboutControl;

AboutWindow::AboutWindow(forms::frmABOUT& form)
    : FormWindow(form, forms::kAboutWindow), controls_(this, forms::kAboutControls) {
    // The client area, not the frame, goes to the stored place.
    const QRect client = clientRect(forms::kAboutWindow);
    setFixedSize(client.size());
    setGeometry(client);
    // Where that place lies partly off the screen's work area (a scaled or
    // small screen), the nearest place inside it.
    keepOnScreen(*this);

    QLabel* picture = Picture1();
    QImageReader reader(QString::fromUtf8(kPicture));
    const QImage image = reader.read();
    if (!image.isNull()) {
        picture->setPixmap(QPixmap::fromImage(image));
        picture->resize(image.size()); // the box takes its picture's size
    }
    const forms::ControlSpec& home =
        rowOf<forms::ControlSpec>(forms::kAboutControls, AboutControl::Picture1);
    left_ = float(home.left);
    top_ = float(home.top);
    // Every pointer move over the picture counts, not only dragging.
    picture->setMouseTracking(true);
    picture->installEventFilter(this);

    for (int i = 0; i < forms::kStrokes; ++i)
        Line1(i)->hide();
    for (const forms::LineColour& rule : forms::kAboutRules) {
        auto* line = controls_.get<LineControl>(rule.line);
        line->setColor(QColor(rule.red, rule.green, rule.blue));
        line->setPenWidth(rule.width);
    }

    // Enter clicks it as the default button; Esc reaches it through reject().
    OK_but()->setDefault(true);
    OK_but()->setAutoDefault(true);
    firstFocus_ = controls_.get(forms::kAboutFirstFocus);
    for (const auto& button : forms::kAboutButtons)
        connect(controls_.get<QPushButton>(button.button), &QPushButton::clicked, this,
                [this, button] { forward(button); });
}

QLabel* AboutWindow::Picture1() const {
    return controls_.get<QLabel>(AboutControl::Picture1);
}

QPushButton* AboutWindow::OK_but() const {
    return controls_.get<QPushButton>(AboutControl::OK_but);
}

LineControl* AboutWindow::Line1(int index) const {
    return controls_.get<LineControl>(forms::kLine1.at(static_cast<std::size_t>(index)));
}

void AboutWindow::setStrokeVisible(int index, bool visible) {
    Line1(index)->setVisible(visible);
}

void AboutWindow::refresh() {
    repaint();
}

void AboutWindow::movePicture(float left, float top) {
    QLabel* picture = Picture1();
    const QRect before = picture->geometry();
    left_ = left;
    top_ = top;
    picture->move(logicalPixels(left), logicalPixels(top));
    // Drawn now, not when the event loop next runs: the whole shake happens
    // inside one handler.
    repaint(before.united(picture->geometry()));
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Picture1() && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        const QPointF at = move->position() * kTwipsPerPixel;
        const int button = vbButtons(move->buttons());
        const int shift = vbShift(move->modifiers());
        forward([this, button, shift, at] {
            form_.Picture1_MouseMove(button, shift, float(at.x()), float(at.y()));
        });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Esc: OK_but is the cancel button as well.
void AboutWindow::reject() {
    forward(&forms::frmABOUT::OK_but_Click);
}

} // namespace zavo::ui
