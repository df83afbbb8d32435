#include "atspi_tree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zavo::test {
namespace {

QRect rectOf(const QJsonObject& o) {
    const QJsonArray r = o.value(QLatin1String("rect")).toArray();
    return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
}

A11yNode fromJson(const QJsonObject& o) {
    A11yNode n;
    n.role = o.value(QLatin1String("role")).toString();
    n.name = o.value(QLatin1String("name")).toString();
    n.description = o.value(QLatin1String("description")).toString();
    n.rect = rectOf(o);
    for (const QJsonValue& r : o.value(QLatin1String("relations")).toArray()) {
        A11yRelation relation{r[QLatin1String("type")].toString(), {}};
        for (const QJsonValue& t : r[QLatin1String("targets")].toArray())
            relation.targets.push_back({t[QLatin1String("role")].toString(),
                                        t[QLatin1String("name")].toString(), rectOf(t.toObject())});
        n.relations.push_back(relation);
    }
    for (const QJsonValue& c : o.value(QLatin1String("children")).toArray())
        n.children.push_back(fromJson(c.toObject()));
    return n;
}

} // namespace

std::optional<A11yNode> readA11yTree(XSession& x, const QString& python, const QString& app) {
    QString out;
    if (x.run(python, {QStringLiteral(ZAVO_ATSPI_TREE_SCRIPT), app}, &out) != 0)
        return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(out.toUtf8());
    if (!doc.isObject())
        return std::nullopt;
    return fromJson(doc.object());
}

QStringList A11yNode::related(const QString& type) const {
    QStringList names;
    for (const A11yRelation& r : relations)
        if (r.type == type)
            for (const A11yTarget& t : r.targets)
                names << t.name;
    return names;
}

const A11yNode* nodeAt(const A11yNode& root, const QString& role, const QRect& withinParent) {
    for (const A11yNode& child : root.children) {
        if (child.role == role && child.rect.translated(-root.rect.topLeft()) == withinParent)
            return &child;
        if (const A11yNode* found = nodeAt(child, role, withinParent))
            return found;
    }
    return nullptr;
}

QString nameAt(const A11yNode& root, const QString& role, const QRect& withinParent) {
    const A11yNode* node = nodeAt(root, role, withinParent);
    if (!node)
        return {};
    return node->name.isNull() ? QStringLiteral("") : node->name;
}

} // namespace zavo::test
