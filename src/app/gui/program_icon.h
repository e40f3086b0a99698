#pragma once
// The program icon at each size it is drawn in (the SVG would need a plug-in that may be missing).

#include <QIcon>

namespace kestrel::gui {

QIcon ProgramIcon();

}  // namespace kestrel::gui
