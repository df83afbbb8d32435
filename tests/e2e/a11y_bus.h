// The buses a screen reader talks over, started inside a private X session: a
// private D-Bus session bus, the AT-SPI bus launcher and the AT-SPI registry.
// Programs the session starts afterwards see that session bus and have Qt's
// accessibility bridge switched on.
#pragma once

#include "support/x_session.h"

#include <QString>
#include <QStringList>

namespace zavo::test {

// A missing tool skips the test; a bus that did not come up fails it.
class AccessibilityBus : public Readiness {
public:
    explicit AccessibilityBus(XSession& x);
    ~AccessibilityBus();
    AccessibilityBus(const AccessibilityBus&) = delete;
    AccessibilityBus& operator=(const AccessibilityBus&) = delete;

    // A Python interpreter that has pyatspi.
    QString python() const { return python_; }
    // Address of the AT-SPI bus, for gdbus --address.
    QString atspiAddress() const { return atspiAddress_; }
    // Unique bus name on the AT-SPI bus of the application the registry lists
    // for process `pid`; empty while it is not registered.
    QString applicationBusName(qint64 pid) const;
    // Events some program on the bus listens to, as the registry lists them
    // ("Object:StateChanged:Focused" ...); applications send only these.
    QStringList registeredEvents() const;

private:
    void start(XSession& x);

    QString python_;
    QString atspiAddress_;
    QString connectionName_;
};

} // namespace zavo::test

#define ZAVO_REQUIRE_A11Y_BUS(bus) ZAVO_REQUIRE_X_SESSION(bus)
