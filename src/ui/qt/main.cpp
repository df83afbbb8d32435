// Wires the real platform backend to the Qt windows and runs the event loop.
#include "accessibility_guard.h"
#include "core/module1.h"
#include "fonts.h"
#include "forms/form.h"
#include "platform/linux/posix_services.h"
#include "platform/linux/session_platform.h"
#include "qt_views.h"
#include "translations.h"

#include <QApplication>
#include <QIcon>

int main(int, char* argv[]) {
    // The program takes no options: the application object sees only its
    // name, so Qt's own options (-qwindowgeometry, -style, -reverse ...)
    // cannot move or restyle the windows either.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    // The application object loads the platform plugin: X11 (XWayland) in a
    // Wayland session, where placement, topmost and Ctrl+P keep working.
    const auto session = zavo::platform::sessionEnvironment();
    if (const char* platform = zavo::platform::qtPlatformFor(session))
        qputenv("QT_QPA_PLATFORM", platform);
    // Qt hands each repaint to the X server in MIT-SHM shared memory and,
    // before it paints the same place again, waits for the server to be done
    // with it: a round trip that wakes both of its threads once more every
    // second the clock changes. Over the socket the clock's few pixels need
    // none. The plugin reads this once, while the application object
    // connects; the programs we start do not inherit it.
    const bool shmChoiceSet = qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM");
    if (!shmChoiceSet)
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(qtArgc, qtArgv);
    if (!shmChoiceSet)
        qunsetenv("QT_XCB_NO_MITSHM");
    // Windows come and go (the options dialog replaces the main window); the
    // form lifecycle decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("ZAVO_launcher"));
    QApplication::setDesktopFileName(QStringLiteral("zavo_launcher"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zavo_launcher.png")));
    zavo::ui::installFontSubstitutions();
    zavo::ui::installQtTranslations();
    zavo::ui::guardAccessibilityBridge();

    zavo::platform::PosixServices services;
    zavo::core::Module1 module1(services);
    zavo::ui::QtViews views;
    zavo::forms::Forms forms(module1, views, [] { QApplication::quit(); });

    forms.run([&] { forms.show(zavo::forms::FormId::Launcher); });
    if (!forms.anyLoaded())
        return 0;
    return QApplication::exec();
}
