// An application's accessibility tree as a screen reader reads it over AT-SPI
// (through atspi_tree.py), and lookups in it.
#pragma once

#include "support/x_session.h"

#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace zavo::test {

// An object a relation points at.
struct A11yTarget {
    QString role;
    QString name;
    QRect rect; // on the screen
};

struct A11yRelation {
    QString type; // "labelled-by", "label-for", "member-of" ...
    std::vector<A11yTarget> targets;
};

struct A11yNode {
    QString role; // AT-SPI role name: "push button", "label", "frame" ...
    QString name;
    QString description;
    QRect rect; // on the screen
    std::vector<A11yRelation> relations;
    std::vector<A11yNode> children;

    // Names of the targets of its relations of `type`, in their order.
    QStringList related(const QString& type) const;
};

// Reads the tree of the application named `app` from the AT-SPI registry of
// session `x`; nothing while that application is not registered.
std::optional<A11yNode> readA11yTree(XSession& x, const QString& python, const QString& app);

// The object with `role` whose extents, relative to its parent's, are
// `withinParent`; nullptr when there is no such object.
const A11yNode* nodeAt(const A11yNode& root, const QString& role, const QRect& withinParent);

// Name of that object; a null string when there is no such object.
QString nameAt(const A11yNode& root, const QString& role, const QRect& withinParent);

} // namespace zavo::test
