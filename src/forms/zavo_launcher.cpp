#include "zavo_launcher.h"

#include "core/clock_text.h"
#include "core/launch_table.h"
#include "core/module1.h"
#include "core/twips.h"
#include "core/utf.h"

namespace zavo::forms {

ZAVO_launcher::ZAVO_launcher(Forms& forms, ViewFactory& views)
    : FormWithView(forms, FormId::Launcher, views, *this) {}

void ZAVO_launcher::Form_Load() {
    platform::Services& services = forms_.module1().services;

    // 1. A second instance ends at once, silently.
    if (services.anotherInstanceRunning()) {
        forms_.endProgram();
        return;
    }

    // 2. Into the topmost band where the window stands, without activating it.
    // Twips become pixels at the display's DPI (twips x DPI / 1440). A place
    // that would put part of the window outside its monitor's work area (a
    // smaller or more strongly scaled screen than the design's) gives way to
    // the nearest place inside it, so the shutdown button and the clock
    // never lie off screen.
    const TwipsRect r = view_.placement();
    const int dpi = view_.pixelsPerInch();
    const auto px = [dpi](int twips) { return core::twips_to_pixels(twips, dpi); };
    const core::PixelRect stored{px(r.left), px(r.top), px(r.width), px(r.height)};
    const core::PixelRect p = core::fit_into(stored, view_.workArea(stored));
    services.setWindowPos(view_.handle(), platform::kHwndTopmost, p.left, p.top, p.width, p.height,
                          platform::kSwpShowWindow | platform::kSwpNoActivate);

    // 3. Show.
    view_.show();

    // 4.-6. The registered programs' names on the slot buttons.
    readSlotCaptions();
}

void ZAVO_launcher::readSlotCaptions() {
    core::Module1& m = forms_.module1();
    // A file that cannot be opened or read leaves the design captions of
    // the unread slots; the launcher runs on.
    if (!m.settei.open())
        return;
    for (int n = 1; n <= core::kSlotCount; ++n) {
        if (!m.settei.read_record(n, m.slot))
            break;
        if (core::slot_registered(m.slot))
            view_.setCommand1Caption(core::index_of_slot(n),
                                     core::to_utf8(core::slot_caption(m.slot)));
    }
    m.settei.close();
}

void ZAVO_launcher::Form_Unload() {
    forms_.module1().settei.close();
}

void ZAVO_launcher::Form_KeyDown(int, int) {}

void ZAVO_launcher::Command1_Click(int index) {
    if (index < 0 || index >= kLaunchButtons)
        return;
    core::Module1& m = forms_.module1();
    platform::Services& services = m.services;
    bool openedHere = false;
    std::string error;
    // Every failure ends the click the same way; the next click starts afresh.
    const auto fail = [&] {
        if (openedHere)
            m.settei.close();
        services.messageBox("読み取りエラーです", platform::vbCritical, "ZAVO_launcher");
    };

    if (const int slot = core::slot_of_index(index)) {
        openedHere = m.settei.open();
        if (!openedHere || !m.settei.read_record(slot, m.slot))
            return fail();
        const std::string command = core::to_utf8(core::slot_command_line(m.slot));
        if (!services.launch(command, core::kSlotWindowStyle, error))
            return fail();
        m.settei.close();
        return;
    }

    const core::FixedLaunch& fixed = core::kFixedLaunches[static_cast<std::size_t>(index)];
    const std::unique_ptr<platform::Process> started =
        services.launch(std::string(fixed.command), fixed.windowStyle, error);
    if (!started)
        return fail();
    if (index != core::kMediaPlayerIndex)
        return;
    // The counted wait alone passes in a few milliseconds on a current
    // processor, long before the player has a window: first wait, within a
    // bound, until it takes input. Past the bound the keys go to whatever
    // window is active, as they always did.
    services.waitForInputIdle(*started, core::kMediaPlayerReadyTimeoutMs);
    services.countedWait(core::kMediaPlayerWaitRounds);
    if (!services.sendKeys(core::kMediaPlayerKeys, true))
        return fail();
    view_.takeFocus();
}

void ZAVO_launcher::Command2_Click() {
    (void)forms_.module1().exit_windows(1);
}

void ZAVO_launcher::Timer1_Timer() {
    std::string text = core::clock_text(forms_.module1().services);
    // An unchanged text must not cost a repaint.
    if (text == clockText_)
        return;
    clockText_ = std::move(text);
    view_.setTimeDisplay(clockText_);
}

void ZAVO_launcher::opt_Click() {
    forms_.unload(FormId::Launcher);
    forms_.show(FormId::Option);
}

void ZAVO_launcher::smallization_Click() {
    view_.minimize();
}

void ZAVO_launcher::exit_Click() {
    forms_.unload(FormId::Launcher);
}

void ZAVO_launcher::Form_QueryClose() {
    forms_.unload(FormId::Launcher);
}

ZAVO_launcher::MenuHandler ZAVO_launcher::menuHandler(LauncherMenu item) {
    switch (item) {
    case LauncherMenu::smallization:
        return &ZAVO_launcher::smallization_Click;
    case LauncherMenu::exit:
        return &ZAVO_launcher::exit_Click;
    case LauncherMenu::opt:
        return &ZAVO_launcher::opt_Click;
    case LauncherMenu::about:
        return &ZAVO_launcher::about_Click;
    case LauncherMenu::file:
    case LauncherMenu::help:
    case LauncherMenu::Count:
        break;
    }
    return nullptr;
}

void ZAVO_launcher::about_Click() {
    forms_.hide(FormId::Launcher);
    forms_.show(FormId::About);
}

} // namespace zavo::forms
