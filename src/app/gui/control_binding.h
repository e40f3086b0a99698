#pragma once
// Widgets and actions carry their control id as object name ("id1016"), so the core's
// ControlStates reach them without a table per page, and tests and screenshots find them.

#include <QString>

#include <initializer_list>
#include <optional>

#include "platform/control_states.h"

class QAction;
class QObject;
class QWidget;

namespace kestrel::gui {

QString IdName(int id);
// Names `object` by `id` and returns it, so a widget can be made and named in one line.
template <typename T>
T* Named(T* object, int id) {
  object->setObjectName(IdName(id));
  return object;
}
// The id of an object named by IdName, or nullopt.
std::optional<int> IdOf(const QObject* object);

// Enables or disables every named widget below `root` (and `root` itself) as `states` says.
void ApplyEnabled(QWidget* root, const ControlStates& states);
// Ticks or clears the named checkable buttons among `ids` as `states` says; other buttons
// keep their own check state.
void ApplyChecked(QWidget* root, const ControlStates& states, std::initializer_list<int> ids);
// Enables and checks the named actions of `widget` (a menu bar or a tool bar, searched deeply).
void ApplyToActions(QWidget* widget, const ControlStates& states);

}  // namespace kestrel::gui
