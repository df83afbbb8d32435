#include "screen_place.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <vector>

namespace zavo::ui {
namespace {

core::PixelRect pixelRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

// Watches a window's native window until its first exposure. One at a time,
// found by its name (it has no meta-object of its own).
const char* const kFramedWatch = "zavoFramedWatch";

class FramedWatch final : public QObject {
public:
    FramedWatch(QWidget& window, QWindow& native) : QObject(&native), window_(&window) {
        setObjectName(QString::fromLatin1(kFramedWatch));
        native.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* native = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && native->isExposed()) {
            native->removeEventFilter(this);
            setObjectName(QString()); // a later show may watch anew
            if (window_)
                keepOnScreen(*window_);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QWidget> window_;
};

} // namespace

QMargins frameMarginsOf(const QWidget& window) {
    if (const QWindow* own = window.windowHandle(); own && !own->frameMargins().isNull())
        return own->frameMargins();
    for (const QWindow* w : QGuiApplication::topLevelWindows())
        if (w->isVisible() && !w->frameMargins().isNull())
            return w->frameMargins();
    return {};
}

core::PixelRect clientWorkArea(const QRect& client, const QMargins& frame) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    std::vector<core::PixelRect> monitors;
    for (const QScreen* s : screens)
        monitors.push_back(pixelRect(s->geometry()));
    const std::size_t i = core::monitor_of(pixelRect(client.marginsAdded(frame)), monitors);
    if (i >= monitors.size())
        return {};
    return pixelRect(screens[qsizetype(i)]->availableGeometry().marginsRemoved(frame));
}

void keepOnScreen(QWidget& window) {
    const QRect client = window.geometry();
    const core::PixelRect placed =
        core::fit_into(pixelRect(client), clientWorkArea(client, frameMarginsOf(window)));
    // By the client rectangle, as the window was placed.
    if (placed.left != client.x() || placed.top != client.y())
        window.setGeometry(placed.left, placed.top, client.width(), client.height());
}

void keepOnScreenOnceFramed(QWidget& window) {
    if (QWindow* native = window.windowHandle();
        native && !native->isExposed() &&
        !native->findChild<QObject*>(QString::fromLatin1(kFramedWatch), Qt::FindDirectChildrenOnly))
        new FramedWatch(window, *native);
}

} // namespace zavo::ui
