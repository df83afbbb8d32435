// The small form lifecycle of the launcher: a window is loaded (its
// Form_Load runs), shown, hidden and unloaded (its Form_Unload runs and it is
// destroyed). Showing an unloaded form loads it first; showing a hidden one
// runs nothing. The program ends when, after a handler has returned, no form
// is loaded any more.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace zavo::platform {
class Services;
}

namespace zavo::ui {

enum class FormId { Launcher, Option, About };

class Forms;

// Mixin of the three windows.
class Form {
public:
    explicit Form(Forms& forms) : forms_(forms) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    virtual QWidget& window() = 0;
    virtual void Form_Load() {}
    virtual void Form_Unload() {}

protected:
    Forms& forms_;
};

class Forms : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<Form*(Forms&)>;

    explicit Forms(platform::Services& services) : services_(services) {}
    ~Forms() override;

    void setFactory(FormId id, Factory factory);

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

signals:
    // No form is loaded after a handler returned: the program is to end.
    void lastFormUnloaded();

private:
    void scheduleEndCheck();

    struct Entry {
        Factory factory;
        std::unique_ptr<Form> form;
        bool unloading = false;
    };
    Entry& entry(FormId id) { return entries_[static_cast<std::size_t>(id)]; }
    const Entry& entry(FormId id) const { return entries_[static_cast<std::size_t>(id)]; }

    platform::Services& services_;
    std::array<Entry, 3> entries_;
    std::vector<QPointer<QWidget>> dying_; // unloaded, awaiting deleteLater
    bool ended_ = false;
    bool checkPending_ = false;
};

} // namespace zavo::ui
