// What an X display says about its windows, read through Xlib: titles,
// geometry, properties and the window manager's lists. Windows come and go
// while they are read; a vanished one reads as empty, never as an error.
#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>

#include <memory>

struct _XDisplay;

namespace zavo::test {

struct XGeometry {
    int x = 0, y = 0, width = 0, height = 0; // absolute position of the client window
};

class XDisplay {
public:
    // Connects with the environment's DISPLAY and XAUTHORITY; null when the
    // server does not answer.
    static std::unique_ptr<XDisplay> open(const QProcessEnvironment& env);
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    quint64 root() const;
    // Viewable windows titled exactly `title` (_NET_WM_NAME, else WM_NAME),
    // parents before children, as xdotool finds them.
    QList<quint64> viewableWindows(const QString& title);
    // A window manager's frame window rather than a client's.
    bool isFrame(quint64 window);
    // One line per named window: id, title, viewable, managed (WM_STATE).
    QStringList describeNamedWindows();
    // -1 everywhere when the window is gone.
    XGeometry geometry(quint64 window);
    // The items of a 32-bit property (CARDINAL, WINDOW, ATOM ...).
    QList<quint64> numbers(quint64 window, const char* name);
    bool hasProperty(quint64 window, const char* name);
    // The property as xprop prints it ("NAME(TYPE) = a, b", "NAME:  not found.").
    QString text(quint64 window, const QString& name);
    // A change of a root window property, which wakes a sleeping window manager.
    void touchRoot();

private:
    explicit XDisplay(_XDisplay* x) : x_(x) {}
    _XDisplay* x_;
};

} // namespace zavo::test
