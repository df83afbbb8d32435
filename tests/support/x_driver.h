// Drives the windows of a private X session as a person does, through
// xdotool: brings a window to the front, presses keys, moves and clicks the
// pointer, and reads which window is active. Every Linux and Wine end-to-end
// test goes through it. Each step answers whether xdotool did it.
#pragma once

#include "support/x_session.h"

#include <QPoint>
#include <QString>
#include <QStringList>

namespace zavo::test {

class XDriver {
public:
    explicit XDriver(XSession& session) : x_(session) {}

    bool activate(quint64 window);
    // xdotool key, `delayMs` between the keys (its own default when 0).
    bool keys(const QStringList& keys, int delayMs = 0);
    // Activates `window`, then presses `keys` there.
    bool keysTo(quint64 window, const QStringList& keys, int delayMs = 100);
    bool moveTo(QPoint at, bool sync = false);
    bool click(QPoint at, bool sync = false);
    // The active window; 0 when none.
    quint64 activeWindow();
    QString activeTitle();
    // How many visible windows have the X class name `name` (Wine names a
    // program's windows after its .exe).
    int visibleWindowsOfClass(const QString& name);
    // Where the design area of the window starts on the screen: the X window
    // holds the menu bar above it, so it lies `designHeight` from the bottom.
    QPoint designOrigin(quint64 window, int designHeight);

    // Saves a screenshot under the build folder as NAME.png; its path.
    QString shot(const QString& name);

private:
    bool xdotool(const QStringList& args, QString* out = nullptr);
    XSession& x_;
};

} // namespace zavo::test
