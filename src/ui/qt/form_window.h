// What every Qt window of a form does alike: its title and title-bar buttons
// from the window sheet, events handed to the form through Forms::run, show
// in front, hide, dispose, and the close box left to the form to decide.
#pragma once

#include "forms/design_sheet.h"
#include "forms/form_events.h"
#include "screen_place.h"

#include <QCloseEvent>
#include <QString>

namespace zavo::ui {

// `QtBase` is the Qt window class, `View` the form's view interface and
// `FormT` the form, which has a Form_QueryClose handler for the close box.
template <class QtBase, class View, class FormT> class FormWindow : public QtBase, public View {
public:
    // forms::FormView
    // Every showing starts on the sheet's first focus, as a fresh window does.
    void show() override {
        QtBase::show();
        // Placed before the frame was known: once it is, the frame too
        // must lie on screen.
        keepOnScreenOnceFramed(*this);
        QtBase::raise();
        QtBase::activateWindow();
        if (firstFocus_)
            firstFocus_->setFocus(Qt::OtherFocusReason);
    }
    void hide() override { QtBase::hide(); }
    void dispose() override {
        forward.stop();
        QtBase::hide();
        QtBase::deleteLater(); // an event of this window may still be on the stack
    }

protected:
    FormWindow(FormT& form, const forms::WindowSpec& window) : QtBase(nullptr), form_(form) {
        QtBase::setObjectName(QString::fromUtf8(window.name));
        QtBase::setWindowTitle(QString::fromUtf8(window.caption));
        // A top-level window of its own (no owner, in the taskbar) with a
        // close box and, where the sheet says so, a minimize button.
        Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (window.minimizeButton)
            flags |= Qt::WindowMinimizeButtonHint;
        QtBase::setWindowFlags(flags);
    }

    void closeEvent(QCloseEvent* event) override {
        event->ignore(); // the form decides; unloading hides and frees the window
        forward(&FormT::Form_QueryClose);
    }

    FormT& form_;
    QWidget* firstFocus_ = nullptr; // where the focus starts whenever the window shows
    // Runs a handler of the form; nothing once the form has disposed of us.
    forms::FormEvents<FormT> forward{form_};
};

} // namespace zavo::ui
