#include "app/gui/program_icon.h"

namespace kestrel::gui {

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/kestrel-spu-player-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace kestrel::gui
