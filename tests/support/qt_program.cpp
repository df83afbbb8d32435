#include "qt_program.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace zavo::test {

void checkRows(QWidget* root, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        QWidget* w = root->findChild<QWidget*>(QString::fromUtf8(row.name));
        QVERIFY2(w, row.name);
        QVERIFY2(w->geometry() == row.pixels, row.name);
        QString caption;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            caption = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            caption = l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            caption = g->title();
        if (row.caption)
            QVERIFY2(caption == QString::fromUtf8(row.caption), row.name);
        if (!row.family) {
            QVERIFY2(!w->testAttribute(Qt::WA_SetFont), row.name);
            continue;
        }
        QVERIFY2(w->font().family() == QString::fromUtf8(row.family), row.name);
        QVERIFY2(w->font().pointSizeF() == row.points, row.name);
        QVERIFY2(w->font().italic() == row.italic, row.name);
        QVERIFY2(!w->font().bold() && !w->font().underline(), row.name);
    }
}

QStringList focusChain(QWidget* first, int count) {
    QStringList names;
    QWidget* w = first;
    for (int step = 0; w && names.size() < count && step < 1000; ++step) {
        if (w->focusPolicy() & Qt::TabFocus)
            names << w->objectName();
        w = w->nextInFocusChain();
    }
    return names;
}

} // namespace zavo::test
