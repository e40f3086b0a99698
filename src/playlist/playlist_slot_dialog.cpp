#include "playlist/playlist_slot_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/controller.h"
#include "app/gui/choosers.h"
#include "app/gui/dialog_buttons.h"
#include "app/gui/main_window.h"

namespace kestrel::gui {
namespace {
constexpr int kFieldLength = 259;  // what config.ini is given of each path
}  // namespace

PlaylistSlotDialog::PlaylistSlotDialog(Controller& controller, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      controller_(controller) {
  setObjectName(QStringLiteral("id115"));
  setWindowTitle(QStringLiteral("PlayList Slot"));
  const SlotPaths& paths = controller_.SlotDialog().fields;

  auto* rows = new QGridLayout;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    const auto index = static_cast<std::size_t>(slot - 1);
    auto* field = new QLineEdit(QString::fromStdString(paths[index]), this);
    field->setObjectName(QStringLiteral("slotField%1").arg(slot));
    field->setMaxLength(kFieldLength);
    field->setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    auto* choose = new QPushButton(QStringLiteral("..."), this);
    choose->setObjectName(QStringLiteral("slotChoose%1").arg(slot));
    choose->setAutoDefault(false);
    choose->setFixedWidth(choose->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    rows->addWidget(new QLabel(QStringLiteral("Slot[%1] :").arg(slot), this), slot - 1, 0);
    rows->addWidget(field, slot - 1, 1);
    rows->addWidget(choose, slot - 1, 2);
    fields_[index] = field;
    connect(field, &QLineEdit::textEdited, this,
            [this, slot](const QString& text) { controller_.EditSlotField(slot, text.toStdString()); });
    connect(choose, &QPushButton::clicked, this, [this, slot] { Choose(slot); });
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(rows);
  layout->addLayout(ConfirmCancelRow(this, QStringLiteral("OK"), 1, 2, [this] {
    controller_.SlotDialogOk();
    return true;
  }));
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PlaylistSlotDialog::Choose(int slot) {
  const std::string folder = controller_.SlotDialog().PlaylistChooser().folder;
  auto* window = dynamic_cast<MainWindow*>(parentWidget());
  const std::optional<std::string> path =
      window ? window->Choose(this, Chooser::PlayList, folder) : RunChooser(this, Chooser::PlayList, folder);
  if (path) {
    controller_.EditSlotField(slot, *path);
    const auto index = static_cast<std::size_t>(slot - 1);
    fields_[index]->setText(QString::fromStdString(controller_.SlotDialog().fields[index]));
  }
  raise();
  activateWindow();
}

}  // namespace kestrel::gui
