#include "app/gui/dialog_buttons.h"

#include <QDialog>
#include <QPushButton>

#include "app/gui/control_binding.h"

namespace kestrel::gui {

QHBoxLayout* ConfirmCancelRow(QDialog* dialog, const QString& confirmText, int confirmId, int cancelId,
                              std::function<bool()> confirm, QWidget* leading) {
  auto* ok = Named(new QPushButton(confirmText, dialog), confirmId);
  auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), dialog), cancelId);
  ok->setDefault(true);
  auto* row = new QHBoxLayout;
  if (leading) {
    row->addWidget(leading, 1);
  } else {
    row->addStretch(1);
  }
  row->addWidget(ok);
  row->addWidget(cancel);
  QObject::connect(ok, &QPushButton::clicked, dialog, [dialog, confirm = std::move(confirm)] {
    if (confirm()) dialog->accept();
  });
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return row;
}

}  // namespace kestrel::gui
