#include "app/gui/control_binding.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QWidget>

namespace kestrel::gui {

QString IdName(int id) { return QStringLiteral("id%1").arg(id); }

std::optional<int> IdOf(const QObject* object) {
  const QString name = object->objectName();
  if (!name.startsWith(QLatin1String("id"))) return std::nullopt;
  bool ok = false;
  const int id = name.mid(2).toInt(&ok);
  return ok ? std::optional<int>(id) : std::nullopt;
}

void ApplyEnabled(QWidget* root, const ControlStates& states) {
  if (const auto id = IdOf(root)) root->setEnabled(states.Enabled(*id));
  for (QWidget* child : root->findChildren<QWidget*>()) {
    if (const auto id = IdOf(child)) child->setEnabled(states.Enabled(*id));
  }
}

void ApplyChecked(QWidget* root, const ControlStates& states, std::initializer_list<int> ids) {
  for (const int id : ids) {
    if (auto* button = root->findChild<QAbstractButton*>(IdName(id)); button && button->isCheckable()) {
      const QSignalBlocker quiet(button);
      button->setChecked(states.Checked(id));
    }
  }
}

void ApplyToActions(QWidget* widget, const ControlStates& states) {
  QList<QAction*> actions = widget->findChildren<QAction*>();
  for (QMenu* menu : widget->findChildren<QMenu*>()) actions += menu->actions();
  for (QAction* action : actions) {
    const auto id = IdOf(action);
    if (!id) continue;
    action->setEnabled(states.Enabled(*id));
    if (action->isCheckable()) action->setChecked(states.Checked(*id));
  }
}

}  // namespace kestrel::gui
