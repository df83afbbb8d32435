#include "form.h"

#include "platform/services.h"

#include <QTimer>

namespace zavo::ui {

Forms::~Forms() {
    for (auto& e : entries_)
        e.form.reset();
    for (const QPointer<QWidget>& w : dying_)
        delete w.data();
}

void Forms::setFactory(FormId id, Factory factory) {
    entry(id).factory = std::move(factory);
}

Form* Forms::loaded(FormId id) const {
    return entry(id).form.get();
}

Form& Forms::load(FormId id) {
    Entry& e = entry(id);
    if (!e.form) {
        e.form.reset(e.factory(*this));
        e.form->Form_Load();
    }
    return *e.form;
}

void Forms::show(FormId id) {
    if (ended_)
        return;
    Form& f = load(id);
    if (ended_ || !entry(id).form)
        return; // the load ended the program or unloaded the form again
    f.window().show();
    f.window().raise();
    f.window().activateWindow();
}

void Forms::hide(FormId id) {
    if (Form* f = loaded(id))
        f->window().hide();
}

void Forms::unload(FormId id) {
    Entry& e = entry(id);
    if (!e.form || e.unloading)
        return;
    e.unloading = true;
    e.form->Form_Unload();
    std::unique_ptr<Form> gone = std::move(e.form);
    e.unloading = false;
    gone->window().hide();
    // The unloading handler may still be running on this form: destroy it
    // once control is back in the event loop.
    QWidget* w = &gone->window();
    gone.release();
    w->deleteLater();
    std::erase_if(dying_, [](const QPointer<QWidget>& p) { return p.isNull(); });
    dying_.emplace_back(w);
    scheduleEndCheck();
}

bool Forms::anyLoaded() const {
    for (const auto& e : entries_)
        if (e.form)
            return true;
    return false;
}

void Forms::endProgram() {
    ended_ = true;
    services_.endProgram();
}

void Forms::scheduleEndCheck() {
    if (checkPending_)
        return;
    checkPending_ = true;
    QTimer::singleShot(0, this, [this] {
        checkPending_ = false;
        if (!anyLoaded())
            emit lastFormUnloaded();
    });
}

} // namespace zavo::ui
