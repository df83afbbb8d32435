#include "x_display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string_view>

namespace zavo::test {
namespace {

int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

Atom atom(Display* x, const char* name) {
    return XInternAtom(x, name, False);
}

// A property's items (formats 16 and 32) or its bytes (format 8).
struct Property {
    Atom type = 0;
    int format = 0;
    QList<quint64> items;
    QByteArray bytes;
};

Property readProperty(Display* x, Window w, Atom name) {
    Property p;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(x, w, name, 0, 1 << 20, False, AnyPropertyType, &p.type, &p.format,
                           &count, &left, &data) != Success ||
        !data)
        return {};
    for (unsigned long i = 0; i < count; ++i) {
        if (p.format == 32) // delivered as longs
            p.items << reinterpret_cast<unsigned long*>(data)[i];
        else if (p.format == 16)
            p.items << reinterpret_cast<unsigned short*>(data)[i];
    }
    if (p.format == 8)
        p.bytes = QByteArray(reinterpret_cast<char*>(data), int(count));
    XFree(data);
    return p;
}

QString atomName(Display* x, Atom a) {
    char* name = a ? XGetAtomName(x, a) : nullptr;
    const QString s = name ? QString::fromUtf8(name) : QStringLiteral("None");
    if (name)
        XFree(name);
    return s;
}

// _NET_WM_NAME, else WM_NAME in whatever encoding the client chose.
QString title(Display* x, Window w) {
    const Property net = readProperty(x, w, atom(x, "_NET_WM_NAME"));
    if (net.type)
        return QString::fromUtf8(net.bytes);
    XTextProperty text{};
    if (!XGetWMName(x, w, &text) || !text.value)
        return {};
    char** list = nullptr;
    int count = 0;
    QString s = Xutf8TextPropertyToTextList(x, &text, &list, &count) >= Success && count > 0
                    ? QString::fromUtf8(list[0])
                    : QString::fromLatin1(reinterpret_cast<char*>(text.value), int(text.nitems));
    if (list)
        XFreeStringList(list);
    XFree(text.value);
    return s;
}

// Every window below `w`, parents before children.
QList<Window> windowsBelow(Display* x, Window w) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(x, w, &root, &parent, &children, &count))
        return {};
    const QList<Window> kids(children, children + count);
    if (children)
        XFree(children);
    QList<Window> out;
    for (const Window child : kids)
        out << child << windowsBelow(x, child);
    return out;
}

bool viewable(Display* x, Window w) {
    XWindowAttributes a{};
    return XGetWindowAttributes(x, w, &a) && a.map_state == IsViewable;
}

} // namespace

std::unique_ptr<XDisplay> XDisplay::open(const QProcessEnvironment& env) {
    XSetErrorHandler(ignoreXErrors);
    // Xlib takes the cookie's file from the process environment only.
    const QByteArray previous = qgetenv("XAUTHORITY");
    const bool hadOne = qEnvironmentVariableIsSet("XAUTHORITY");
    const QString authority = env.value(QStringLiteral("XAUTHORITY"));
    if (authority.isEmpty())
        qunsetenv("XAUTHORITY");
    else
        qputenv("XAUTHORITY", authority.toLocal8Bit());
    Display* x = XOpenDisplay(env.value(QStringLiteral("DISPLAY")).toLocal8Bit().constData());
    if (hadOne)
        qputenv("XAUTHORITY", previous);
    else
        qunsetenv("XAUTHORITY");
    return x ? std::unique_ptr<XDisplay>(new XDisplay(x)) : nullptr;
}

XDisplay::~XDisplay() {
    XCloseDisplay(x_);
}

quint64 XDisplay::root() const {
    return DefaultRootWindow(x_);
}

QList<quint64> XDisplay::viewableWindows(const QString& name) {
    QList<quint64> ids;
    for (const Window w : windowsBelow(x_, DefaultRootWindow(x_)))
        if (viewable(x_, w) && title(x_, w) == name && !isFrame(w))
            ids << w;
    return ids;
}

// GNOME 48's mutter draws window frames in a client of its own
// (mutter-x11-frames), whose frame windows bear their client's title.
bool XDisplay::isFrame(quint64 window) {
    if (hasProperty(window, "_MUTTER_FRAME_FOR"))
        return true;
    XClassHint hint{};
    if (!XGetClassHint(x_, window, &hint))
        return false;
    const bool frames = hint.res_name && std::string_view(hint.res_name) == "mutter-x11-frames";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return frames;
}

QStringList XDisplay::describeNamedWindows() {
    QStringList lines;
    for (const Window w : windowsBelow(x_, DefaultRootWindow(x_)))
        if (const QString name = title(x_, w); !name.isEmpty())
            lines << QStringLiteral("0x%1 \"%2\"%3%4")
                         .arg(w, 0, 16)
                         .arg(name, viewable(x_, w) ? QStringLiteral(" viewable") : QString(),
                              hasProperty(w, "WM_STATE") ? QStringLiteral(" managed") : QString());
    return lines;
}

XGeometry XDisplay::geometry(quint64 window) {
    XWindowAttributes a{};
    int x = 0, y = 0;
    Window child = 0;
    // The outer corner on the screen, border included, as xwininfo gives it.
    if (!XGetWindowAttributes(x_, window, &a) ||
        !XTranslateCoordinates(x_, window, a.root, -a.border_width, -a.border_width, &x, &y,
                               &child))
        return {-1, -1, -1, -1};
    return {x, y, a.width, a.height};
}

QList<quint64> XDisplay::numbers(quint64 window, const char* name) {
    return readProperty(x_, window, atom(x_, name)).items;
}

bool XDisplay::hasProperty(quint64 window, const char* name) {
    return readProperty(x_, window, atom(x_, name)).type != 0;
}

QString XDisplay::text(quint64 window, const QString& name) {
    const Property p = readProperty(x_, window, atom(x_, name.toUtf8().constData()));
    if (!p.type)
        return name + QStringLiteral(":  not found.");
    const QString type = atomName(x_, p.type);
    if (type == QLatin1String("WM_STATE") && !p.items.isEmpty()) {
        static const char* const states[] = {"Withdrawn", "Normal", "Zoom", "Iconic", "Inactive"};
        const quint64 state = p.items[0];
        return QStringLiteral("%1(WM_STATE):\n\t\twindow state: %2\n\t\ticon window: 0x%3")
            .arg(name, state < 5 ? QString::fromLatin1(states[state]) : QString::number(state),
                 QString::number(p.items.value(1), 16));
    }
    QStringList values;
    if (p.format == 8) { // strings, each ended by a NUL
        QByteArray bytes = p.bytes;
        if (bytes.endsWith('\0'))
            bytes.chop(1);
        for (const QByteArray& part : bytes.split('\0'))
            values << QLatin1Char('"') +
                          (p.type == XA_STRING ? QString::fromLatin1(part)
                                               : QString::fromUtf8(part)) +
                          QLatin1Char('"');
    }
    for (const quint64 item : p.items) {
        if (p.type == XA_ATOM)
            values << atomName(x_, item);
        else if (p.type == XA_CARDINAL || p.type == XA_INTEGER || p.format == 16)
            values << QString::number(item);
        else
            values << QStringLiteral("0x%1").arg(item, 0, 16);
    }
    const QString list = values.join(QStringLiteral(", "));
    return p.type == XA_WINDOW ? QStringLiteral("%1(WINDOW): window id # %2").arg(name, list)
                               : QStringLiteral("%1(%2) = %3").arg(name, type, list);
}

void XDisplay::touchRoot() {
    static long touches = 0;
    ++touches;
    XChangeProperty(x_, DefaultRootWindow(x_), atom(x_, "_ZAVO_WM_NUDGE"), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&touches), 1);
    XFlush(x_);
}

} // namespace zavo::test
