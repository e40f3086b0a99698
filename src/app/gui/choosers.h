#pragma once
// The file and folder choosers the controller asks for, with their titles and filters.

#include <optional>
#include <string>

#include "app/front_end.h"

class QWidget;

namespace kestrel::gui {

// Shows `chooser` over `owner`, opening in `startFolder`; nullopt when cancelled.
std::optional<std::string> RunChooser(QWidget* owner, Chooser chooser, const std::string& startFolder);

}  // namespace kestrel::gui
