#include "library/file_list_page.h"

#include "app/controller.h"
#include "monitor/analyzer_widget.h"

namespace kestrel::gui {

FileListPage::FileListPage(Controller& controller, QWidget* parent) : QWidget(parent), controller_(controller), analyzer_(new AnalyzerWidget(this)) {}

void FileListPage::Refresh() {}

}  // namespace kestrel::gui
