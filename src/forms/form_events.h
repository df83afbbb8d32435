// Hands a window's events to its form through Forms::run, until the form has
// disposed of the window: every window system's windows forward this way.
#pragma once

#include <functional>

namespace zavo::forms {

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
    // The form has disposed of the window: nothing reaches it any more.
    void stop() { stopped_ = true; }

private:
    FormT& form_;
    bool stopped_ = false;
};

} // namespace zavo::forms
