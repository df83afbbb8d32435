// One run of the program on the real Qt windows (offscreen), with the
// recording services, in a private scratch folder that is current while it
// lives.
#pragma once

#include "core/module1.h"
#include "forms/form.h"
#include "platform/fake/recording_services.h"
#include "scratch_folder.h"
#include "slot_bytes.h"
#include "ui/qt/about_window.h"
#include "ui/qt/launcher_window.h"
#include "ui/qt/option_dialog.h"
#include "ui/qt/qt_views.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QTest>

#include <memory>

namespace zavo::test {

struct QtProgram {
    ~QtProgram() {
        forms.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void start() {
        forms->run([&] { forms->show(forms::FormId::Launcher); });
    }
    void writeSettei(const QByteArray& bytes) { writeFile(QStringLiteral("settei.ini"), bytes); }
    template <class W> W* window(forms::FormId id) const {
        forms::Form* form = forms->loaded(id);
        return form ? dynamic_cast<W*>(&form->view()) : nullptr;
    }
    ui::LauncherWindow* launcher() const {
        return window<ui::LauncherWindow>(forms::FormId::Launcher);
    }
    ui::OptionDialog* option() const { return window<ui::OptionDialog>(forms::FormId::Option); }
    ui::AboutWindow* about() const { return window<ui::AboutWindow>(forms::FormId::About); }

    ScratchFolder folder{"zavo-ui-", ScratchFolder::Current::enter}; // settei.ini is relative
    platform::RecordingServices services;
    core::Module1 module1{services};
    ui::QtViews views;
    std::unique_ptr<forms::Forms> forms = std::make_unique<forms::Forms>(module1, views, [] {});
};

// What a screen reader hears as the widget's name.
inline QString accessibleName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

// A row of a window's design: pixels are the sheet's twips over 15.
struct Row {
    const char* name;
    QRect pixels;
    const char* caption; // nullptr: none to check
    const char* family;  // nullptr: the window's own font
    double points;
    bool italic;
};

// Checks every row against the widget of that name under `root`.
void checkRows(QWidget* root, std::initializer_list<Row> rows);

// The names along the focus chain from `first`, as far as `count` widgets.
QStringList focusChain(QWidget* first, int count);

} // namespace zavo::test
