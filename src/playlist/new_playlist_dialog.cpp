#include "playlist/new_playlist_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/controller.h"
#include "app/gui/dialog_buttons.h"

namespace kestrel::gui {
namespace {
constexpr int kFieldLength = 255;  // what the playlist file keeps of each
}  // namespace

NewPlaylistDialog::NewPlaylistDialog(Controller& controller, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      controller_(controller) {
  setObjectName(QStringLiteral("id113"));
  setWindowTitle(QStringLiteral("New PlayList"));
  const NewPlaylistDialogState& state = controller_.NewPlaylistDialog();

  auto* caption = new QLabel(QString::fromUtf8(NewPlaylistDialogState::kCaptionText), this);
  caption->setAlignment(Qt::AlignCenter);
  fileName_ = new QLineEdit(QString::fromStdString(state.fileName), this);
  fileName_->setObjectName(QStringLiteral("fileName"));
  listTitle_ = new QLineEdit(QString::fromStdString(state.listTitle), this);
  listTitle_->setObjectName(QStringLiteral("listTitle"));
  for (QLineEdit* field : {fileName_, listTitle_}) {
    field->setMaxLength(kFieldLength);
    field->setMinimumWidth(fontMetrics().averageCharWidth() * 36);
  }
  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(QStringLiteral("FileName :"), this), 0, 0);
  fields->addWidget(fileName_, 0, 1);
  fields->addWidget(new QLabel(QStringLiteral(".klt"), this), 0, 2);
  fields->addWidget(new QLabel(QStringLiteral("ListTitle :"), this), 1, 0);
  fields->addWidget(listTitle_, 1, 1, 1, 2);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption);
  layout->addLayout(fields);
  layout->addLayout(ConfirmCancelRow(this, QStringLiteral("OK"), 1, 2, [this] { return Ok(); }));
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool NewPlaylistDialog::Ok() {
  controller_.EditNewPlaylist(fileName_->text().toStdString(), listTitle_->text().toStdString());
  return controller_.NewPlaylistOk();
}

}  // namespace kestrel::gui
