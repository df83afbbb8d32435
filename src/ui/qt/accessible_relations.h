// Relations between widgets that a screen reader reads over AT-SPI and that
// Qt's accessibility interfaces cannot state themselves: an option button's
// group and a label beside a control that is not its sibling. They are served
// beside Qt's own relations by the front of the bridge
// (accessibility_guard.cpp).
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QWidget>

#include <span>

namespace zavo::ui {

// AT-SPI's numbers for the relations used here.
enum class Relation : uint { LabelFor = 1, LabelledBy = 2, MemberOf = 5 };

// `from` stands in relation `type` to `to`; the relation goes with `from`.
void relate(QWidget* from, Relation type, QWidget* to);

// Option buttons as one group: each is a member of the group, labelled first
// by `frame` (the group's name) and then by its label, which labels it back.
void relateOptionGroup(QWidget* frame, std::span<QWidget* const> members,
                       std::span<QWidget* const> labels);

// Answers an AT-SPI GetRelationSet for an object that has relations of ours,
// with Qt's relations and ours; false for any other call.
bool answerRelationSet(const QDBusMessage& call, const QDBusConnection& connection);

} // namespace zavo::ui
