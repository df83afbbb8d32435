#include "about_window.h"

#include "control_builder.h"
#include "core/twips.h"
#include "forms/frm_about_sheet.h"
#include "line_control.h"

#include <QCloseEvent>
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
using core::twips_to_pixels;

AboutWindow::AboutWindow(forms::frmABOUT& form) : QDialog(nullptr), form_(form) {
    setObjectName(QString::fromUtf8(forms::kAboutWindow.name));
    setWindowTitle(QString::fromUtf8(forms::kAboutWindow.caption));
    // A top-level window of its own (no owner, in the taskbar), with a close
    // box but no minimize or maximize button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    // The client area, not the frame, goes to the stored place.
    setGeometry(kClientLeft, kClientTop, kClientWidth, kClientHeight);

    buildControls(this, forms::kAboutControls);

    Picture1_ = control<QLabel>(this, "Picture1");
    QImageReader reader(QString::fromUtf8(kPicture));
    const QImage image = reader.read();
    if (!image.isNull()) {
        Picture1_->setPixmap(QPixmap::fromImage(image));
        Picture1_->resize(image.size()); // the box takes its picture's size
    }
    left_ = float(forms::kAboutControls[0].left);
    top_ = float(forms::kAboutControls[0].top);
    // Every pointer move over the picture counts, not only dragging.
    Picture1_->setMouseTracking(true);
    Picture1_->installEventFilter(this);

    for (int i = 0; i < 5; ++i) {
        Line1_[static_cast<std::size_t>(i)] =
            control<LineControl>(this, ("Line1_" + std::to_string(i)).c_str());
        Line1(i)->hide();
    }
    for (const forms::LineColour& rule : forms::kAboutRules) {
        auto* line = control<LineControl>(this, rule.name);
        line->setColor(QColor(rule.red, rule.green, rule.blue));
        line->setPenWidth(rule.width);
    }

    OK_but_ = control<QPushButton>(this, "OK_but");
    // Enter clicks it as the default button; Esc reaches it through reject().
    OK_but_->setDefault(true);
    OK_but_->setAutoDefault(true);
    OK_but_->setFocus();
    connect(OK_but_, &QPushButton::clicked, this,
            [this] { forward([this] { form_.OK_but_Click(); }); });
}

void AboutWindow::forward(const std::function<void()>& handler) {
    if (!disposed_)
        form_.handle(handler);
}

void AboutWindow::show() {
    QDialog::show();
    raise();
    activateWindow();
}

void AboutWindow::hide() {
    QDialog::hide();
}

void AboutWindow::dispose() {
    disposed_ = true;
    QDialog::hide();
    deleteLater(); // an event of this window may still be on the stack
}

void AboutWindow::setStrokeVisible(int index, bool visible) {
    Line1(index)->setVisible(visible);
}

void AboutWindow::refresh() {
    repaint();
}

float AboutWindow::pictureLeft() {
    return left_;
}

float AboutWindow::pictureTop() {
    return top_;
}

void AboutWindow::movePicture(float left, float top) {
    const QRect before = Picture1_->geometry();
    left_ = left;
    top_ = top;
    Picture1_->move(twips_to_pixels(left), twips_to_pixels(top));
    // Drawn now, not when the event loop next runs: the whole shake happens
    // inside one handler.
    repaint(before.united(Picture1_->geometry()));
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Picture1_ && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        const QPointF at = move->position() * kTwipsPerPixel;
        const int buttons = move->buttons().toInt();
        const int shift = move->modifiers().toInt();
        forward([this, buttons, shift, at] {
            form_.Picture1_MouseMove(buttons, shift, float(at.x()), float(at.y()));
        });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutWindow::closeEvent(QCloseEvent* event) {
    event->ignore(); // the form decides; unloading hides and frees the window
    forward([this] { form_.Form_QueryClose(); });
}

// Esc: OK_but is the cancel button as well.
void AboutWindow::reject() {
    forward([this] { form_.OK_but_Click(); });
}

} // namespace zavo::ui
