// Wires the Win32 backend to the Win32 windows and runs the message loop.
#include "core/module1.h"
#include "forms/form.h"
#include "launcher_window.h"
#include "picture_box.h"
#include "platform/win32/win32_services.h"
#include "system_library.h"
#include "win32_views.h"

namespace {

// The keys of a dialog (Tab, arrows, Enter, Esc, Alt+letter) for every
// window of ours, and the shortcuts of the main window's menu.
int messageLoop() {
    const HACCEL accelerators = zavo::ui::LauncherWindow::createAccelerators();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root) {
            // Only the main window has the menu command.
            if (accelerators && GetMenu(root) && TranslateAcceleratorW(root, accelerators, &msg))
                continue;
            if (IsDialogMessageW(root, &msg))
                continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (accelerators)
        DestroyAcceleratorTable(accelerators);
    return static_cast<int>(msg.wParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Whatever loads a DLL from here on (we, or the system on our behalf)
    // finds it in the system folder, never in the program's or the current
    // one.
    zavo::ui::restrictDllSearchToSystemFolder();

    int code = 0;
    {
        zavo::platform::Win32Services services;
        zavo::core::Module1 module1(services);
        zavo::ui::Win32Views views;
        zavo::forms::Forms forms(module1, views, [] { PostQuitMessage(0); });

        forms.run([&] { forms.show(zavo::forms::FormId::Launcher); });
        if (forms.anyLoaded())
            code = messageLoop();
    }
    zavo::ui::endPictureServices();
    return code;
}
