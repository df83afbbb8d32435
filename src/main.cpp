// Wires the real platform backend to the windows and runs the event loop.
#include "core/module1.h"
#include "ui/fonts.h"
#include "ui/form.h"
#include "ui/launcher_app.h"

#include <QApplication>
#include <QIcon>

#ifdef _WIN32
#include "platform/win32/win32_services.h"
using PlatformServices = zavo::platform::Win32Services;
#else
#include "platform/posix/posix_services.h"
using PlatformServices = zavo::platform::PosixServices;
#endif

int main(int, char* argv[]) {
    // The program takes no options: the application object sees only its
    // name, so Qt's own options (-qwindowgeometry, -style, -reverse ...)
    // cannot move or restyle the windows either.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    // Windows come and go (the options dialog replaces the main window); the
    // form lifecycle decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("ZAVO_launcher"));
    QApplication::setDesktopFileName(QStringLiteral("zavo_launcher"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zavo_launcher.png")));
    zavo::ui::installFontSubstitutions();

    PlatformServices services;
    zavo::core::Module1 module1(services);
    zavo::ui::Forms forms(services);
    zavo::ui::registerForms(forms, module1);
    QObject::connect(&forms, &zavo::ui::Forms::lastFormUnloaded, &app, &QApplication::quit);

    forms.show(zavo::ui::FormId::Launcher);
    if (!forms.anyLoaded())
        return 0;
    return QApplication::exec();
}
