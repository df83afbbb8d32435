#include "line_control.h"

#include <QPainter>

namespace zavo::ui {

LineControl::LineControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void LineControl::setEnds(QPoint from, QPoint to) {
    from_ = from;
    to_ = to;
    place();
}

void LineControl::setColor(const QColor& color) {
    color_ = color;
    update();
}

void LineControl::setPenWidth(int pixels) {
    width_ = pixels;
    place();
}

void LineControl::place() {
    const QRect box = QRect(from_, to_).normalized();
    setGeometry(box.adjusted(0, 0, width_, width_));
    update();
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor c = color_.isValid() ? color_ : palette().color(QPalette::WindowText);
    const QPoint origin = geometry().topLeft();
    // Fill the pixel run exactly; a cosmetic pen would blur at odd widths.
    const QRect run = QRect(from_ - origin, to_ - origin).normalized();
    p.fillRect(QRect(run.topLeft(), QSize(run.width() + width_ - 1, run.height() + width_ - 1)), c);
}

} // namespace zavo::ui
