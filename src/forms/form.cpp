#include "form.h"

#include "core/module1.h"
#include "frm_about.h"
#include "frm_option.h"
#include "zavo_launcher.h"

namespace zavo::forms {
namespace {
std::size_t slot(FormId id) {
    return static_cast<std::size_t>(id);
}
} // namespace

void Form::handle(const std::function<void()>& handler) {
    forms_.run(handler);
}

Forms::Forms(core::Module1& module1, ViewFactory& views, std::function<void()> quit)
    : module1_(module1), views_(views), quit_(std::move(quit)) {}

Forms::~Forms() {
    for (auto& form : forms_)
        if (form)
            form->view().dispose();
    for (auto& form : unloaded_)
        form->view().dispose();
}

std::unique_ptr<Form> Forms::create(FormId id) {
    switch (id) {
    case FormId::Launcher:
        return std::make_unique<ZAVO_launcher>(*this, views_);
    case FormId::Option:
        return std::make_unique<frmOption>(*this, views_);
    case FormId::About:
        return std::make_unique<frmABOUT>(*this, views_);
    }
    return nullptr;
}

void Forms::run(const std::function<void()>& handler) {
    if (ended_)
        return;
    ++depth_;
    handler();
    --depth_;
    if (depth_ == 0)
        settle();
}

void Forms::settle() {
    for (auto& form : unloaded_)
        form->view().dispose();
    unloaded_.clear();
    if (!ended_ && !anyLoaded() && !quitCalled_) {
        quitCalled_ = true;
        quit_();
    }
}

Form* Forms::loaded(FormId id) const {
    return forms_[slot(id)].get();
}

Form& Forms::load(FormId id) {
    std::unique_ptr<Form>& form = forms_[slot(id)];
    if (!form) {
        form = create(id);
        form->Form_Load();
    }
    return *form;
}

void Forms::show(FormId id) {
    if (ended_)
        return;
    Form& form = load(id);
    if (ended_ || !loaded(id))
        return; // the load ended the program or unloaded the form again
    form.view().show();
    form.Form_Activate();
}

void Forms::hide(FormId id) {
    if (Form* form = loaded(id))
        form->view().hide();
}

void Forms::unload(FormId id) {
    std::unique_ptr<Form>& form = forms_[slot(id)];
    if (!form || unloading_[slot(id)] || ended_)
        return;
    unloading_[slot(id)] = true;
    form->Form_Unload();
    unloading_[slot(id)] = false;
    form->view().hide();
    // The unloading handler may still be running on this form.
    unloaded_.push_back(std::move(form));
    if (depth_ == 0)
        settle();
}

bool Forms::anyLoaded() const {
    for (const auto& form : forms_)
        if (form)
            return true;
    return false;
}

void Forms::endProgram() {
    ended_ = true;
    module1_.services.endProgram();
}

} // namespace zavo::forms
