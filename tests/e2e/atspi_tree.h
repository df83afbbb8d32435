// An application's accessibility tree as a screen reader reads it over AT-SPI
// (through atspi_tree.py), and lookups in it.
#pragma once

#include "support/x_session.h"

#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace zavo::test {

struct A11yNode {
    QString role; // AT-SPI role name: "push button", "label", "frame" ...
    QString name;
    QRect rect; // on the screen
    std::vector<A11yNode> children;
};

// Reads the tree of the application named `app` from the AT-SPI registry of
// session `x`; nothing while that application is not registered.
std::optional<A11yNode> readA11yTree(XSession& x, const QString& python, const QString& app);

// Name of the object with `role` whose extents, relative to its parent's,
// are `withinParent`; a null string when there is no such object.
QString nameAt(const A11yNode& root, const QString& role, const QRect& withinParent);

} // namespace zavo::test
