// The form lifecycle of the launcher, without any window system: a form is
// loaded (its Form_Load runs), shown, hidden and unloaded (its Form_Unload
// runs and it goes away). Showing an unloaded form loads it first; showing a
// hidden one runs nothing. The program ends when, after a handler has
// returned, no form is loaded any more.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace zavo::core {
class Module1;
}

namespace zavo::forms {

enum class FormId { Launcher, Option, About };

// What every window system offers for a form's window.
class FormView {
public:
    // Modeless, in front of the other windows.
    virtual void show() = 0;
    virtual void hide() = 0;
    // The form is unloaded: the window closes and the view is freed. No event
    // reaches the form through this view afterwards.
    virtual void dispose() = 0;

protected:
    ~FormView() = default;
};

class Forms;
class LauncherView;
class OptionView;
class AboutView;
class ZAVO_launcher;
class frmOption;
class frmABOUT;

// Builds the window of a form; one implementation per window system.
class ViewFactory {
public:
    virtual ~ViewFactory() = default;
    virtual LauncherView& makeView(ZAVO_launcher& form) = 0;
    virtual OptionView& makeView(frmOption& form) = 0;
    virtual AboutView& makeView(frmABOUT& form) = 0;
};

class Form {
public:
    Form(Forms& forms, FormId id) : forms_(forms), id_(id) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    virtual FormView& view() = 0;
    virtual void Form_Load() {}
    // The form's window has just been shown (it is on screen and active).
    virtual void Form_Activate() {}
    virtual void Form_Unload() {}

    FormId id() const { return id_; }
    // Runs an event handler of this form (see Forms::run).
    void handle(const std::function<void()>& handler);

protected:
    Forms& forms_;

private:
    FormId id_;
};

// A form whose window the view factory builds as the form is made.
template <class View> class FormWithView : public Form {
public:
    View& view() override { return view_; }

protected:
    template <class Self>
    FormWithView(Forms& forms, FormId id, ViewFactory& views, Self& self)
        : Form(forms, id), view_(views.makeView(self)) {}

    View& view_;
};

class Forms {
public:
    // `quit` is called once the program is to end: no form is loaded after a
    // handler returned.
    Forms(core::Module1& module1, ViewFactory& views, std::function<void()> quit);
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    // Every event reaches the forms through here. Unloaded forms are freed,
    // and the end of the program is decided, only when the outermost handler
    // has returned: a handler may unload its own form, and a modal message
    // box may run further handlers while one is still on the stack.
    void run(const std::function<void()>& handler);

    Form* loaded(FormId id) const;
    template <class T> T* loadedAs(FormId id) const { return dynamic_cast<T*>(loaded(id)); }
    Form& load(FormId id);
    void show(FormId id);
    void hide(FormId id);
    void unload(FormId id);
    bool anyLoaded() const;

    // Ends the program at once: no further form operation has any effect.
    void endProgram();
    bool ended() const { return ended_; }

    core::Module1& module1() { return module1_; }

private:
    std::unique_ptr<Form> create(FormId id);
    void settle();

    core::Module1& module1_;
    ViewFactory& views_;
    std::function<void()> quit_;
    std::array<std::unique_ptr<Form>, 3> forms_;
    std::array<bool, 3> unloading_{};
    std::vector<std::unique_ptr<Form>> unloaded_; // freed once no handler runs
    int depth_ = 0;
    bool ended_ = false;
    bool quitCalled_ = false;
};

} // namespace zavo::forms
