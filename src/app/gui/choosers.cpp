#include "app/gui/choosers.h"

#include <QFileDialog>

namespace kestrel::gui {
namespace {

const QString kPlaylistTitle = QStringLiteral("Select Kestrel SPU Player PlayList");
const QString kPlaylistFilter = QStringLiteral("Kestrel SPU Player PlayList (*.klt)");
const QString kFolderTitle = QStringLiteral("Select SPUFile Folder.");

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace

std::optional<std::string> RunChooser(QWidget* owner, Chooser chooser, const std::string& startFolder) {
  const QString folder = QString::fromStdString(startFolder);
  switch (chooser) {
    case Chooser::SpuFolder:
    case Chooser::EditorFolder:
      return Chosen(QFileDialog::getExistingDirectory(owner, kFolderTitle, folder));
    case Chooser::PlayList:
    case Chooser::EditorPlayList: {
      QFileDialog dialog(owner, kPlaylistTitle, folder, kPlaylistFilter);
      dialog.setFileMode(QFileDialog::ExistingFile);
      dialog.setDefaultSuffix(QStringLiteral("klt"));
      if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
      return Chosen(dialog.selectedFiles().front());
    }
    case Chooser::BackImage:
      // Qt reads the patterns from the parentheses, separated by spaces.
      return Chosen(QFileDialog::getOpenFileName(owner, QStringLiteral("Select List BackImage"), folder,
                                                 QStringLiteral("List BackImage (*.bmp *.gif *.jpg)")));
  }
  return std::nullopt;
}

}  // namespace kestrel::gui
