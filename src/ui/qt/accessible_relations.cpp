#include "accessible_relations.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QHash>
#include <QList>
#include <QPointer>

#include <algorithm>

namespace {

// One entry of GetRelationSet's answer, a(ua(so)): a relation type and the
// objects it points at, each as (bus name, object path).
struct RelationTarget {
    QString service;
    QDBusObjectPath path;
};
struct RelationEntry {
    uint type = 0;
    QList<RelationTarget> targets;
};

QDBusArgument& operator<<(QDBusArgument& arg, const RelationTarget& t) {
    arg.beginStructure();
    arg << t.service << t.path;
    arg.endStructure();
    return arg;
}
const QDBusArgument& operator>>(const QDBusArgument& arg, RelationTarget& t) {
    arg.beginStructure();
    arg >> t.service >> t.path;
    arg.endStructure();
    return arg;
}
QDBusArgument& operator<<(QDBusArgument& arg, const RelationEntry& e) {
    arg.beginStructure();
    arg << e.type << e.targets;
    arg.endStructure();
    return arg;
}
const QDBusArgument& operator>>(const QDBusArgument& arg, RelationEntry& e) {
    arg.beginStructure();
    arg >> e.type >> e.targets;
    arg.endStructure();
    return arg;
}

} // namespace

Q_DECLARE_METATYPE(RelationTarget)
Q_DECLARE_METATYPE(RelationEntry)

namespace zavo::ui {
namespace {

const QString kAccessiblePath = QStringLiteral("/org/a11y/atspi/accessible/");

struct Related {
    Relation type;
    QPointer<QWidget> to;
};

QHash<const QObject*, QList<Related>>& relationsOf() {
    static QHash<const QObject*, QList<Related>> relations;
    return relations;
}

// The bridge's object path of a widget: its accessible interface's id.
QDBusObjectPath pathOf(QObject* object) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return QDBusObjectPath(kAccessiblePath + QString::number(QAccessible::uniqueId(iface)));
}

// Qt's relations as its bridge states them (its Label is AT-SPI's
// labelled-by, and so on).
uint atspiRelation(QAccessible::Relation relation) {
    switch (relation) {
    case QAccessible::Label:
        return uint(Relation::LabelledBy);
    case QAccessible::Labelled:
        return uint(Relation::LabelFor);
    case QAccessible::Controller:
        return 4; // controlled-by
    case QAccessible::Controlled:
        return 3; // controller-for
    default:
        return 0;
    }
}

} // namespace

void relate(QWidget* from, Relation type, QWidget* to) {
    auto& relations = relationsOf();
    if (!relations.contains(from))
        QObject::connect(from, &QObject::destroyed, [from] { relationsOf().remove(from); });
    relations[from].append({type, to});
}

void relateOptionGroup(QWidget* frame, std::span<QWidget* const> members,
                       std::span<QWidget* const> labels) {
    for (std::size_t i = 0; i < members.size(); ++i) {
        relate(members[i], Relation::LabelledBy, frame);
        relate(members[i], Relation::LabelledBy, labels[i]);
        relate(labels[i], Relation::LabelFor, members[i]);
        // Last member first, as GTK lists a radio group and screen readers
        // count positions in it.
        for (std::size_t j = members.size(); j-- > 0;)
            relate(members[i], Relation::MemberOf, members[j]);
    }
}

bool answerRelationSet(const QDBusMessage& call, const QDBusConnection& connection) {
    if (call.interface() != QLatin1String("org.a11y.atspi.Accessible") ||
        call.member() != QLatin1String("GetRelationSet") ||
        !call.path().startsWith(kAccessiblePath))
        return false;
    bool isId = false;
    const auto id = QAccessible::Id(call.path().mid(kAccessiblePath.size()).toUInt(&isId));
    QAccessibleInterface* iface = isId ? QAccessible::accessibleInterface(id) : nullptr;
    const auto ours = iface ? relationsOf().constFind(iface->object()) : relationsOf().cend();
    if (ours == relationsOf().cend())
        return false;

    static const bool registered = [] {
        qDBusRegisterMetaType<RelationTarget>();
        qDBusRegisterMetaType<QList<RelationTarget>>();
        qDBusRegisterMetaType<RelationEntry>();
        qDBusRegisterMetaType<QList<RelationEntry>>();
        return true;
    }();
    Q_UNUSED(registered);

    const QString service = connection.baseService();
    QList<RelationEntry> entries;
    for (const auto& [other, relation] : iface->relations()) {
        const uint type = atspiRelation(relation);
        if (type && other && other->object())
            entries.append({type, {{service, pathOf(other->object())}}});
    }
    // One entry a type, its targets in the order they were related.
    for (const Related& r : *ours) {
        if (!r.to)
            continue;
        auto entry = std::find_if(entries.begin(), entries.end(),
                                  [&](const RelationEntry& e) { return e.type == uint(r.type); });
        if (entry == entries.end())
            entry = entries.insert(entries.end(), {uint(r.type), {}});
        entry->targets.append({service, pathOf(r.to)});
    }
    connection.send(call.createReply(QVariant::fromValue(entries)));
    return true;
}

} // namespace zavo::ui
