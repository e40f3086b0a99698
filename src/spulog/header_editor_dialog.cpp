#include "spulog/header_editor_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/controller.h"
#include "app/gui/control_binding.h"
#include "app/gui/dialog_buttons.h"

namespace kestrel::gui {

using namespace header_dialog;

HeaderEditorDialog::HeaderEditorDialog(Controller& controller, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      controller_(controller) {
  setObjectName(QStringLiteral("id114"));
  setWindowTitle(QString::fromUtf8(kCaption));
  const HeaderEditorDialogState& state = controller_.HeaderDialog();

  struct Row {
    const char* label;
    int id;
    const std::string& text;
    const char* note;  // nullptr: none
  };
  const Row rows[] = {{"FileName :", kFileName, state.fileName, nullptr},
                      {"GameTitle :", kGameTitle, state.gameTitle, "[64byte]"},
                      {"MusicTitle :", kMusicTitle, state.musicTitle, "[64byte]"},
                      {"Copyright :", kCopyright, state.copyright, "[32byte]"}};
  auto* group = new QGroupBox(QStringLiteral("Registered Info"), this);
  auto* grid = new QGridLayout(group);
  for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
    const Row& row = rows[i];
    auto* field = Named(new QLineEdit(QString::fromStdString(row.text), group), row.id);
    field->setCursorPosition(0);
    field->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    grid->addWidget(new QLabel(QString::fromUtf8(row.label), group), i, 0);
    grid->addWidget(field, i, 1);
    if (row.note == nullptr) {
      field->setReadOnly(true);
      field->setFocusPolicy(Qt::NoFocus);
      continue;
    }
    grid->addWidget(new QLabel(QString::fromUtf8(row.note), group), i, 2);
    const int id = row.id;
    connect(field, &QLineEdit::textEdited, this,
            [this, id](const QString& text) { controller_.EditHeaderField(id, text.toStdString()); });
  }

  auto* status = Named(new QLabel(QString::fromStdString(state.statusText), this), kStatusText);
  status->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(ConfirmCancelRow(
      this, QStringLiteral("Save"), kSave, kCancel, [this] { return controller_.HeaderDialogSave(); }, status));
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ApplyEnabled(this, state.controls);
}

}  // namespace kestrel::gui
