// Hands a window's events to its form through Forms::run, until the form has
// disposed of the window: every window system's windows forward this way.
#pragma once

#include <functional>

namespace zavo::forms {

// What a click on one button of a sheet runs: the form's Click handler, or,
// for a member of a control array, the array's handler with its index. Each
// form lists its buttons in one table; every window system wires from it.
template <class FormT, class Id> struct ButtonHandler {
    Id button{};
    void (FormT::*click)() = nullptr;
    void (FormT::*indexedClick)(int) = nullptr;
    int index = 0;

    void operator()(FormT& form) const {
        if (click)
            (form.*click)();
        else
            (form.*indexedClick)(index);
    }
};

template <class FormT> class FormEvents {
public:
    explicit FormEvents(FormT& form) : form_(form) {}

    void operator()(const std::function<void()>& handler) const {
        if (!stopped_)
            form_.handle(handler);
    }
    void operator()(void (FormT::*handler)()) const {
        FormT* form = &form_;
        (*this)([form, handler] { (form->*handler)(); });
    }
    template <class Id> void operator()(const ButtonHandler<FormT, Id>& button) const {
        FormT* form = &form_;
        (*this)([form, button] { button(*form); });
    }
    // The form has disposed of the window: nothing reaches it any more.
    void stop() { stopped_ = true; }

private:
    FormT& form_;
    bool stopped_ = false;
};

} // namespace zavo::forms
