// One run of the program on the real Qt windows (offscreen), with the
// recording services, in a private scratch folder that is current while it
// lives.
#pragma once

#include "core/module1.h"
#include "forms/form.h"
#include "platform/fake/recording_services.h"
#include "scratch_folder.h"
#include "sheets.h"
#include "slot_bytes.h"
#include "ui/qt/about_window.h"
#include "ui/qt/launcher_window.h"
#include "ui/qt/option_dialog.h"
#include "ui/qt/qt_views.h"

#include <QAccessible>
#include <QAction>
#include <QCoreApplication>
#include <QTest>

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>
#include <vector>

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
    // Starts, then opens window `W` of form `id` by the launcher's menu entry.
    template <class W> W* openByMenu(const char* entry, forms::FormId id) {
        start();
        launcher()->findChild<QAction*>(QString::fromLatin1(entry))->trigger();
        return window<W>(id);
    }

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

// The rows of a design sheet as a view at 96 DPI must show them (a line has
// no widget of its own); the captions of the rows named in `unchecked` are
// the program's to set.
template <std::size_t N>
std::vector<Row> sheetRows(const std::array<forms::ControlSpec, N>& sheet,
                           std::initializer_list<std::string_view> unchecked = {}) {
    std::vector<Row> rows;
    for (const forms::ControlSpec& r : sheet)
        if (r.kind != forms::Kind::Line)
            rows.push_back(
                {r.name, QRect(r.left / 15, r.top / 15, r.width / 15, r.height / 15),
                 std::ranges::find(unchecked, r.name) == unchecked.end() ? r.caption : nullptr,
                 r.font.family, r.font.points, r.font.italic});
    return rows;
}

// Checks every row against the widget of that name under `root`.
void checkRows(QWidget* root, const std::vector<Row>& rows);

// The names along the focus chain from `first`, as far as `count` widgets.
QStringList focusChain(QWidget* first, int count);

} // namespace zavo::test
