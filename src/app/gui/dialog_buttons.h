#pragma once
// The row of buttons at the foot of a dialog: a confirm button (the default) and Cancel.

#include <QHBoxLayout>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace kestrel::gui {

// `confirm` runs on the confirm button and tells whether the dialog may close; Cancel rejects it.
// `leading` (a status text, say) fills the row's left side; without it the buttons sit on the right.
QHBoxLayout* ConfirmCancelRow(QDialog* dialog, const QString& confirmText, int confirmId, int cancelId,
                              std::function<bool()> confirm, QWidget* leading = nullptr);

}  // namespace kestrel::gui
