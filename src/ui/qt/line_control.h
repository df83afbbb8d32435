// A straight line between two points of its container, like a drawn rule.
#pragma once

#include <QColor>
#include <QWidget>

namespace zavo::ui {

class LineControl : public QWidget {
    Q_OBJECT
public:
    explicit LineControl(QWidget* parent = nullptr);

    void setEnds(QPoint from, QPoint to);
    void setColor(const QColor& color);
    void setPenWidth(int pixels);

    QPoint from() const { return from_; }
    QPoint to() const { return to_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void place();

    QPoint from_, to_;
    QColor color_;
    int width_ = 1;
};

} // namespace zavo::ui
