// Checks on a screenshot that a registered name wider than its control shows
// from its first character: the programs under test show three names of ten
// characters side by side, `a`, then `b` that differs from `a` only in its
// first character and `c` only in its last. Each returns what is wrong, or
// nothing.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

namespace zavo::test {

inline bool samePixels(const QImage& shot, const QRect& r1, const QRect& r2) {
    return shot.copy(r1) == shot.copy(r2);
}

// Buttons: each of `a`, `b` and `c` shows its whole caption, first and last
// characters included, and no ink reaches within `edge` columns of its
// sides, where `reference`, a button of the same size with a short caption,
// shows only its face and border.
inline QString wholeOnButtons(const QImage& shot, const QRect& a, const QRect& b, const QRect& c,
                              const QRect& reference, int edge) {
    for (const QRect& r : {a, b, c})
        for (int side : {0, r.width() - edge})
            if (!samePixels(shot, QRect(r.x() + side, r.y(), edge, r.height()),
                            QRect(reference.x() + side, reference.y(), edge, reference.height())))
                return QStringLiteral("ink within %1 px of the side of the button at %2,%3")
                    .arg(edge)
                    .arg(r.x())
                    .arg(r.y());
    if (samePixels(shot, a, b))
        return QStringLiteral("the first character does not show");
    if (samePixels(shot, a, c))
        return QStringLiteral("the last character does not show");
    return {};
}

// Labels: `a` and `b` differ within the first `cell` columns, the room of
// the first character at the left edge.
inline QString startOnLabels(const QImage& shot, const QRect& a, const QRect& b, int cell) {
    if (samePixels(shot, QRect(a.topLeft(), QSize(cell, a.height())),
                   QRect(b.topLeft(), QSize(cell, b.height()))))
        return QStringLiteral("the first character does not show at the label's left edge");
    return {};
}

} // namespace zavo::test
