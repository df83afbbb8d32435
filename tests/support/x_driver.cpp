#include "x_driver.h"

namespace zavo::test {

bool XDriver::xdotool(const QStringList& args, QString* out) {
    return x_.run(QStringLiteral("xdotool"), args, out) == 0;
}

bool XDriver::activate(quint64 window) {
    return xdotool(
        {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window)});
}

bool XDriver::keys(const QStringList& keys, int delayMs) {
    QStringList args{QStringLiteral("key")};
    if (delayMs > 0)
        args << QStringLiteral("--delay") << QString::number(delayMs);
    return xdotool(args + keys);
}

bool XDriver::keysTo(quint64 window, const QStringList& keys, int delayMs) {
    const bool active = activate(window);
    return this->keys(keys, delayMs) && active;
}

bool XDriver::moveTo(QPoint at, bool sync) {
    QStringList args{QStringLiteral("mousemove")};
    if (sync)
        args << QStringLiteral("--sync");
    return xdotool(args << QString::number(at.x()) << QString::number(at.y()));
}

bool XDriver::click(QPoint at, bool sync) {
    QStringList args{QStringLiteral("mousemove")};
    if (sync)
        args << QStringLiteral("--sync");
    return xdotool(args << QString::number(at.x()) << QString::number(at.y())
                        << QStringLiteral("click") << QStringLiteral("1"));
}

quint64 XDriver::activeWindow() {
    QString out;
    return xdotool({QStringLiteral("getactivewindow")}, &out) ? out.trimmed().toULongLong() : 0;
}

QString XDriver::activeTitle() {
    QString out;
    xdotool({QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")}, &out);
    return out.trimmed();
}

int XDriver::visibleWindowsOfClass(const QString& name) {
    QString out;
    xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
             QStringLiteral("--classname"), name},
            &out);
    return int(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
}

QPoint XDriver::designOrigin(quint64 window, int designHeight) {
    const XGeometry g = x_.geometry(window);
    return {g.x, g.y + g.height - designHeight};
}

QString XDriver::shot(const QString& name) {
    const QString path = QStringLiteral(ZAVO_SCREENSHOT_DIR "/") + name + QStringLiteral(".png");
    x_.screenshot(path);
    return path;
}

} // namespace zavo::test
