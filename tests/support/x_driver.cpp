#include "x_driver.h"

#include "support/sheets.h"

#include <QFile>
#include <QTest>

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

bool XDriver::moveTo(QPoint at, bool sync, const QStringList& then) {
    QStringList args{QStringLiteral("mousemove")};
    if (sync)
        args << QStringLiteral("--sync");
    return xdotool(args << QString::number(at.x()) << QString::number(at.y()) << then);
}

bool XDriver::click(QPoint at, bool sync) {
    return moveTo(at, sync, {QStringLiteral("click"), QStringLiteral("1")});
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

QString XDriver::misplaced(quint64 window) {
    const QRect design = designPlace(forms::kLauncherWindow);
    const QRect client = place(window);
    if (client.height() > kMainDesignHeight &&
        QRect(designOrigin(window, kMainDesignHeight), QSize(client.width(), kMainDesignHeight)) ==
            design)
        return {};
    return QString::asprintf("client window %dx%d at (%d, %d): its design area should stand at "
                             "(%d, %d), %dx%d, below a menu bar",
                             client.width(), client.height(), client.x(), client.y(), design.x(),
                             design.y(), design.width(), design.height());
}

QList<quint64> XDriver::numbers(quint64 window, const QString& property) {
    QList<quint64> out;
    for (const QString& n : x_.property(window, property)
                                .section(QLatin1Char('='), 1)
                                .split(QLatin1Char(','), Qt::SkipEmptyParts))
        out << n.trimmed().toULongLong(nullptr, 0);
    return out;
}

QRect XDriver::place(quint64 window) {
    const XGeometry g = x_.geometry(window);
    return {g.x, g.y, g.width, g.height};
}

bool XDriver::clickControl(quint64 window, forms::LauncherControl control, bool sync) {
    return click(designOrigin(window, kMainDesignHeight) + designRect(control).center(), sync);
}

QString XDriver::shot(const QString& name, quint64 window) {
    const QString path = QStringLiteral(ZAVO_SCREENSHOT_DIR "/") + name + QStringLiteral(".png");
    QFile::remove(path);
    return x_.screenshot(path, window) && QFile::exists(path) ? path : QString();
}

QString LauncherRun::start(const QString& workDir) {
    launcher = x.startLauncher(workDir.isEmpty() ? work.path() : workDir);
    window = x.waitForWindow(kMainTitle);
    if (window)
        return {};
    return QString::asprintf("no window titled ZAVO_launcher was mapped (launcher state %d, exit "
                             "code %d)",
                             launcher->state(), launcher->exitCode());
}

QString LauncherRun::openDialog(bool activate) {
    if (!xd.activate(window) || !xd.keys({QStringLiteral("alt+o")}, 50))
        return QStringLiteral("xdotool could not press alt+o in the main window");
    dialog = x.waitForWindow(kDialogTitle);
    if (!dialog)
        return QStringLiteral("alt+o opened no registration dialog");
    if (activate && !xd.activate(dialog))
        return QStringLiteral("the registration dialog could not be activated");
    return {};
}

QString LauncherRun::returnToMain() {
    if (!xd.keys({QStringLiteral("alt+r")}, 50))
        return QStringLiteral("xdotool could not press alt+r");
    window = x.waitForWindow(kMainTitle);
    if (!window)
        return QStringLiteral("alt+r did not bring the main window back");
    if (!QTest::qWaitFor([this] { return x.windows(kDialogTitle).isEmpty(); }, 10000))
        return QStringLiteral("the registration dialog stayed after alt+r");
    return {};
}

QRect designPlace(const forms::WindowSpec& window) {
    return QRect(pixels(window.clientLeft), pixels(window.clientTop), pixels(window.clientWidth),
                 pixels(window.clientHeight));
}

} // namespace zavo::test
