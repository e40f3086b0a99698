#include "library/file_detection_thread.h"

#include "library/scan_spu_folder.h"

namespace kestrel {

bool FileDetectionThread::Start(SpuFileList& list, const std::string& folder) {
  if (list.Filling()) return false;
  list.entries.Clear();
  list.count = 0;
  list.detecting = true;
  list.statusText = kDetectingFilesText;
  job_.Start(
      [folder](JobOutput& out) {
        const int count = ScanSpuFolder(
            folder, [&out](SpuFileEntry row) { out.Push({JobItem::Kind::Row, std::move(row), {}, 0}); },
            out.CancelFlag());
        out.Push({JobItem::Kind::End, {}, {}, count});
      },
      notify_);
  return true;
}

bool FileDetectionThread::Drain(SpuFileList& list, std::chrono::milliseconds wait, ColumnSortState& sort) {
  if (!list.detecting) return true;
  std::vector<SpuFileEntry> rows;
  for (JobItem& item : job_.Take(wait)) {
    if (item.kind == JobItem::Kind::Row) {
      rows.push_back(std::move(item.row));
    } else if (item.kind == JobItem::Kind::End) {
      list.entries.InsertEachAtTop(std::move(rows));
      rows.clear();
      list.count = item.number;
      list.statusText.clear();
      SortByNameAscending(list.entries, sort);
      list.entries.Select(std::nullopt);
      list.detecting = false;
    }
  }
  list.entries.InsertEachAtTop(std::move(rows));
  return !list.detecting;
}

void FileDetectionThread::RunToEnd(SpuFileList& list, const std::string& folder, ColumnSortState& sort) {
  if (!Start(list, folder)) return;
  while (!Drain(list, std::chrono::milliseconds(100), sort)) {
  }
}

}  // namespace kestrel
