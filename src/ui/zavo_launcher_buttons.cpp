// The launch buttons and the shutdown button of the main window.
#include "zavo_launcher.h"

#include "core/counted_wait.h"
#include "core/launch_table.h"
#include "core/module1.h"
#include "text.h"

namespace zavo::ui {

void ZAVO_launcher::Command1_Click(int index) {
    if (index < 0 || index > 8)
        return;
    platform::Services& services = module1_.services;
    core::SlotFile& settei = module1_.settei;
    bool openedHere = false;
    std::string error;
    // Every failure ends the click the same way; the next click starts afresh.
    const auto fail = [&] {
        if (openedHere)
            settei.close();
        services.messageBox("読み取りエラーです", platform::vbCritical, "ZAVO_launcher");
    };

    if (const int slot = core::slot_of_index(index)) {
        openedHere = settei.open();
        if (!openedHere || !settei.read_record(slot, module1_.slot))
            return fail();
        const std::string command = utf8(qstr(core::slot_command_line(module1_.slot)));
        if (!services.launch(command, core::kSlotWindowStyle, error))
            return fail();
        settei.close();
        return;
    }

    const core::FixedLaunch& fixed = core::kFixedLaunches[static_cast<std::size_t>(index)];
    if (!services.launch(std::string(fixed.command), fixed.windowStyle, error))
        return fail();
    if (index != core::kMediaPlayerIndex)
        return;
    // Give the player time to come up, then ask it to play.
    core::counted_wait(core::kMediaPlayerWaitRounds);
    if (!services.sendKeys(core::kMediaPlayerKeys, true))
        return fail();
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void ZAVO_launcher::Command2_Click() {
    (void)module1_.exit_windows(1);
}

} // namespace zavo::ui
