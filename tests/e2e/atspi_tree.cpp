#include "atspi_tree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zavo::test {
namespace {

A11yNode fromJson(const QJsonObject& o) {
    A11yNode n;
    n.role = o.value(QLatin1String("role")).toString();
    n.name = o.value(QLatin1String("name")).toString();
    const QJsonArray r = o.value(QLatin1String("rect")).toArray();
    if (r.size() == 4)
        n.rect = QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
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

QString nameAt(const A11yNode& root, const QString& role, const QRect& withinParent) {
    for (const A11yNode& child : root.children) {
        if (child.role == role && child.rect.translated(-root.rect.topLeft()) == withinParent)
            return child.name.isNull() ? QStringLiteral("") : child.name;
        const QString found = nameAt(child, role, withinParent);
        if (!found.isNull())
            return found;
    }
    return {};
}

} // namespace zavo::test
