// The main window: nine launch buttons, the shutdown button, the clock line
// and the menu bar. It is the start-up window of the program.
#pragma once

#include "form.h"
#include "form_events.h"
#include "launcher_view.h"
#include "zavo_launcher_sheet.h"

#include <array>

namespace zavo::forms {

class ZAVO_launcher final : public FormWithView<LauncherView> {
public:
    ZAVO_launcher(Forms& forms, ViewFactory& views);

    void Form_Load() override;
    void Form_Unload() override;

    // Handlers, named after their control and event.
    // `shift` in the values of vb_input.h.
    void Form_KeyDown(int keyCode, int shift);
    void Command1_Click(int index);
    void Command2_Click();
    void Timer1_Timer();
    void opt_Click();
    void smallization_Click();
    void exit_Click();
    void about_Click();
    // The close box: the window unloads.
    void Form_QueryClose();

    // The handler of a menu command of the menu sheet; null for an entry
    // that only opens a drop-down.
    using MenuHandler = void (ZAVO_launcher::*)();
    static MenuHandler menuHandler(LauncherMenu item);

private:
    void readSlotCaptions();

    std::string clockText_; // what time_display shows
};

// The window's buttons and what a click on each runs: Command2, then the
// members of Command1 with their indexes.
inline constexpr auto kLauncherButtons = [] {
    std::array<ButtonHandler<ZAVO_launcher, LauncherControl>, 1 + kLaunchButtons> table{};
    table[0] = {LauncherControl::Command2, &ZAVO_launcher::Command2_Click};
    for (int i = 0; i < kLaunchButtons; ++i)
        table[std::size_t(1 + i)] = {kCommand1[std::size_t(i)], nullptr,
                                     &ZAVO_launcher::Command1_Click, i};
    return table;
}();

} // namespace zavo::forms
