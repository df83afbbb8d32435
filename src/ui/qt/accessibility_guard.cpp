#include "accessibility_guard.h"

#include "accessible_relations.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QPointer>

// The bridge serves its objects as one virtual object; a front takes that
// object's place on the bus and hands it every call it does not answer
// itself. It answers the relation sets that carry relations Qt cannot state
// (accessible_relations.h) and malformed property calls.
//
// Qt's AT-SPI bridge (QTBUG-107897) reads the arguments of calls of
// org.freedesktop.DBus.Properties on its objects unchecked: in Qt 6.4 a
// GetAll, or a Get or Set without an interface and a property name, reads
// past the end of the argument list and ends the program with a segmentation
// fault; Qt 6.8 still does so for a Get or Set short of arguments, a GetAll
// without an interface, and a GetAll on the application's root. Any process
// on the accessibility bus can send one (automation tools and zbus-based
// readers send GetAll); the front answers them with an error.
//
// The bridge registers itself whenever the accessibility bus comes up. A
// message spy, which QtDBus runs on the main thread before it delivers each
// incoming call, puts the front in place before the first call reaches the
// bridge's objects. QtDBus exports the spy hook but declares it only in a
// private header.
using QDBusSpyHook = void (*)(const QDBusMessage&);
Q_DBUS_EXPORT void qDBusAddSpyHook(QDBusSpyHook);

namespace zavo::ui {
namespace {

const QString kBridgePath = QStringLiteral("/org/a11y/atspi/accessible");

const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

bool isString(const QVariant& v) {
    return v.metaType() == QMetaType::fromType<QString>();
}

// Get(s interface, s name) and Set(s interface, s name, v value) as the
// bridge reads them.
bool isWellFormed(const QDBusMessage& call) {
    const QList<QVariant> args = call.arguments();
    if (call.member() == QLatin1String("Get"))
        return args.size() == 2 && isString(args[0]) && isString(args[1]);
    if (call.member() == QLatin1String("Set"))
        return args.size() == 3 && isString(args[0]) && isString(args[1]) &&
               args[2].metaType() == QMetaType::fromType<QDBusVariant>();
    return false;
}

bool answerMalformed(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.interface() != kPropertiesInterface || isWellFormed(message))
        return false;
    const bool getAll = message.member() == QLatin1String("GetAll");
    connection.send(
        message.createErrorReply(getAll ? QDBusError::NotSupported : QDBusError::InvalidArgs,
                                 getAll ? QStringLiteral("GetAll is not served; use Get")
                                        : QStringLiteral("Get takes (ss), Set takes (ssv)")));
    return true;
}

class BridgeFront : public QDBusVirtualObject {
public:
    explicit BridgeFront(QDBusVirtualObject* bridge)
        : QDBusVirtualObject(bridge), bridge_(bridge) {}

    QString introspect(const QString& path) const override {
        return bridge_ ? bridge_->introspect(path) : QString();
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (answerMalformed(message, connection) || answerRelationSet(message, connection))
            return true;
        return bridge_ && bridge_->handleMessage(message, connection);
    }

private:
    QPointer<QDBusVirtualObject> bridge_;
};

void placeFront(const QDBusMessage& call) {
    if (!call.path().startsWith(kBridgePath))
        return;
    QDBusConnection bus(QStringLiteral("a11y")); // the bridge's connection name
    auto* bridge = qobject_cast<QDBusVirtualObject*>(bus.objectRegisteredAt(kBridgePath));
    if (!bridge || dynamic_cast<BridgeFront*>(bridge))
        return;
    auto* front = new BridgeFront(bridge); // goes with the bridge's object
    bus.unregisterObject(kBridgePath);
    if (!bus.registerVirtualObject(kBridgePath, front, QDBusConnection::SubPath)) {
        delete front;
        bus.registerVirtualObject(kBridgePath, bridge, QDBusConnection::SubPath);
    }
}

} // namespace

void guardAccessibilityBridge() {
    qDBusAddSpyHook(placeFront);
}

} // namespace zavo::ui
