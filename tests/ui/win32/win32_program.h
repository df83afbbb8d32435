// The three windows as the program makes them, on the recording services,
// in a scratch folder that is current while they live.
#pragma once

#include "core/module1.h"
#include "forms/form.h"
#include "platform/fake/recording_services.h"
#include "support/scratch_folder.h"
#include "ui/win32/win32_views.h"

#include <doctest/doctest.h>

#include <initializer_list>

namespace zavo::test {

struct Win32Program {
    explicit Win32Program(std::initializer_list<forms::FormId> shown = {forms::FormId::Launcher,
                                                                        forms::FormId::Option,
                                                                        forms::FormId::About}) {
        forms.run([&] {
            for (forms::FormId id : shown)
                forms.show(id);
        });
    }
    template <class W = forms::FormView> W& window(forms::FormId id) {
        forms::Form* form = forms.loaded(id);
        REQUIRE(form);
        return dynamic_cast<W&>(form->view());
    }

    ScratchFolder folder{"zavo-ui-", ScratchFolder::Current::enter};
    platform::RecordingServices services;
    core::Module1 module1{services};
    ui::Win32Views views;
    forms::Forms forms{module1, views, [] {}};
};

} // namespace zavo::test
