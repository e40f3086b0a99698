#include "library/spu_file_list.h"

#include <algorithm>

namespace kestrel {
namespace {

void SetChecks(SpuFileList& list, bool checked) {
  const std::size_t rows = std::min(static_cast<std::size_t>(std::max(list.count, 0)), list.entries.Size());
  for (std::size_t i = 0; i < rows; ++i) list.entries.At(i).checked = checked;
}

}  // namespace

void CheckAllItems(SpuFileList& list) { SetChecks(list, true); }
void UnCheckAllItems(SpuFileList& list) { SetChecks(list, false); }

bool SelectNextEntry(SpuFileList& list) {
  const auto selected = list.entries.Selected();
  if (!selected || *selected + 1 >= list.entries.Size()) return false;
  list.entries.Select(*selected + 1);
  return true;
}

bool SelectPreviousEntry(SpuFileList& list) {
  const auto selected = list.entries.Selected();
  if (!selected || *selected == 0) return false;
  list.entries.Select(*selected - 1);
  return true;
}

}  // namespace kestrel
