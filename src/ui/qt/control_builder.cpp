#include "control_builder.h"

#include "core/twips.h"
#include "line_control.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <vector>

namespace zavo::ui {
namespace {

using forms::ControlSpec;
using forms::Kind;

// A command button as Windows has one. Enter presses it when it has the
// focus (a Qt button takes Enter only as a dialog's default). A caption
// wider than the button wraps onto more lines (Japanese between any two
// characters), centred, as a push button with BS_MULTILINE shows it: a
// registered name wider than its button shows from its first character.
// The text itself stays whole, for the accessible name and for whoever reads
// it back.
class CommandButton final : public QPushButton {
public:
    CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
        // Never a dialog's default by focus: Enter presses the focused
        // button only.
        setAutoDefault(false);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && !(event->modifiers() & ~Qt::KeypadModifier)) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent* event) override {
        QStyleOptionButton option;
        initStyleOption(&option);
        const QRect styled = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        const int mnemonic = style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this)
                                 ? Qt::TextShowMnemonic
                                 : Qt::TextHideMnemonic;
        if (option.fontMetrics.size(mnemonic, option.text).width() <= styled.width())
            return QPushButton::paintEvent(event); // one line, as the style draws it
        // Lines as wide as the whole button, as a Windows push button breaks
        // its caption, so that both programs break a name after the same
        // character.
        const QRect room = rect();
        const QString text = option.text;
        option.text.clear();
        QStylePainter painter(this);
        painter.drawControl(QStyle::CE_PushButton, option); // face and focus, no label
        painter.drawItemText(room, Qt::AlignCenter | Qt::TextWordWrap | mnemonic, option.palette,
                             isEnabled(), text, QPalette::ButtonText);
    }
};

QWidget* makeWidget(const ControlSpec& row, QWidget* parent) {
    const QString caption = QString::fromUtf8(row.caption ? row.caption : "");
    switch (row.kind) {
    case Kind::Button:
        return new CommandButton(caption, parent);
    case Kind::Label: {
        auto* l = new QLabel(caption, parent);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    }
    case Kind::Frame:
        return new QGroupBox(caption, parent);
    case Kind::Option:
        return new QRadioButton(caption, parent);
    case Kind::Line:
        return new LineControl(parent);
    case Kind::Picture: {
        auto* p = new QLabel(parent);
        p->setFrameShape(QFrame::NoFrame);
        return p;
    }
    case Kind::DriveList:
        return new QComboBox(parent);
    case Kind::DirList:
    case Kind::FileList:
        return new QListWidget(parent);
    }
    return nullptr;
}

} // namespace

QRect twipsRect(int left, int top, int width, int height) {
    return {logicalPixels(left), logicalPixels(top), logicalPixels(width), logicalPixels(height)};
}

QRect clientRect(const forms::WindowSpec& window) {
    return twipsRect(window.clientLeft, window.clientTop, window.clientWidth, window.clientHeight);
}

std::vector<QWidget*> buildControls(QWidget* designArea, std::span<const ControlSpec> rows) {
    std::vector<QWidget*> widgets;
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlSpec& row : rows) {
        QWidget* parent = designArea;
        if (row.container != forms::kClientArea)
            parent = widgets.at(static_cast<std::size_t>(row.container));
        QWidget* w = makeWidget(row, parent);
        widgets.push_back(w);
        w->setObjectName(QString::fromUtf8(row.name));
        if (row.kind == Kind::Line) {
            static_cast<LineControl*>(w)->setEnds(
                QPoint(logicalPixels(row.left), logicalPixels(row.top)),
                QPoint(logicalPixels(row.width), logicalPixels(row.height)));
        } else {
            w->setGeometry(twipsRect(row.left, row.top, row.width, row.height));
        }
        if (row.font.family) {
            QFont f(QString::fromUtf8(row.font.family));
            f.setPointSizeF(row.font.points);
            f.setItalic(row.font.italic);
            f.setWeight(QFont::Normal);
            w->setFont(f);
        }
        if (row.toolTip)
            w->setToolTip(QString::fromUtf8(row.toolTip));
        if (row.accessibleName) {
            w->setAccessibleName(QString::fromUtf8(row.accessibleName));
            // On Linux Qt names a combo box by its current text and gives
            // screen readers its name in the label that labels it: a label of
            // no size, so that the window looks as designed.
            if (row.kind == Kind::DriveList) {
                auto* label = new QLabel(QString::fromUtf8(row.accessibleName), parent);
                label->setGeometry(QRect(w->pos(), QSize(0, 0)));
                label->setBuddy(w);
            }
        }
        // Off the tab chain, yet a click may still focus it, as on Windows.
        if (!row.tabStop)
            w->setFocusPolicy(Qt::ClickFocus);
        else if (row.tabIndex >= 0 && w->focusPolicy() != Qt::NoFocus)
            tabOrder.emplace_back(row.tabIndex, w);
        w->show();
    }
    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    return widgets;
}

} // namespace zavo::ui
