#pragma once
// The folder scan of the SPU file list on its own thread.

#include <chrono>
#include <string>

#include "library/background_job.h"
#include "library/column_sort_state.h"
#include "library/spu_file_list.h"

namespace kestrel {

inline constexpr const char* kDetectingFilesText = "Detecting files...";

class FileDetectionThread {
 public:
  explicit FileDetectionThread(BackgroundJob::Notify notify = {}) : notify_(std::move(notify)) {}

  // Refresh: empties the list, sets its count to 0 and the detecting flag, and scans
  // `folder` (the Location text). Refused (false) while a scan or an import fills the list.
  bool Start(SpuFileList& list, const std::string& folder);

  // Owning thread: applies what the scan has handed over. Rows go to the top as they come;
  // at the end the count is set, the list is sorted by name ascending (and column 0
  // remembered as ascending), nothing is selected and the detecting flag clears.
  // `wait` blocks up to that long for something to arrive. True once the scan has ended.
  bool Drain(SpuFileList& list, std::chrono::milliseconds wait = std::chrono::milliseconds(0),
             ColumnSortState& sort = TheColumnSortState());

  // Runs a whole scan on the calling thread's behalf (command line, tests).
  void RunToEnd(SpuFileList& list, const std::string& folder, ColumnSortState& sort = TheColumnSortState());

 private:
  BackgroundJob job_;
  BackgroundJob::Notify notify_;
};

}  // namespace kestrel
