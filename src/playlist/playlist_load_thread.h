#pragma once
// The playlist jobs that read log lengths, on their own thread: importing a playlist into
// the SPU file list, loading one into the editor, and opening a folder into the editor.

#include <chrono>
#include <string>

#include "library/background_job.h"
#include "library/column_sort_state.h"
#include "library/spu_file_list.h"
#include "playlist/playlist_editor.h"

namespace kestrel {

enum class LoadMode {
  ImportFile = 0,      // a chosen playlist file into the SPU file list
  ImportSlot = 1,      // the playlist of a slot into the SPU file list
  LoadIntoEditor = 2,  // a chosen playlist file into the editor
  OpenFolder = 3,      // a chosen folder into the editor's left list
};

struct LoadRequest {
  LoadMode mode = LoadMode::ImportFile;
  std::string path;  // the playlist file (0, 1, 2) or the folder (3)
  int slot = 0;      // 1..5 for ImportSlot: whose playlist `path` is
};

class PlaylistLoadThread {
 public:
  explicit PlaylistLoadThread(BackgroundJob::Notify notify = {}) : notify_(std::move(notify)) {}

  // Ignored (false) while a load runs, and an import also while a folder scan fills the
  // SPU file list, so the two never mix their rows. Loading into the editor binds it to
  // the chosen file at once.
  bool Start(const LoadRequest& request, SpuFileList& list, PlaylistEditor& editor);
  bool Loading() const { return loading_; }  // the loading flag

  // Owning thread: applies what the job has handed over. `wait` blocks up to that long
  // for something to arrive. True once the job has ended (the loading flag is then clear).
  bool Drain(SpuFileList& list, PlaylistEditor& editor,
             std::chrono::milliseconds wait = std::chrono::milliseconds(0),
             ColumnSortState& sort = TheColumnSortState());

  // Start and drain to the end (command line, tests). False when refused.
  bool RunToEnd(const LoadRequest& request, SpuFileList& list, PlaylistEditor& editor,
                ColumnSortState& sort = TheColumnSortState());

 private:
  void Apply(JobItem& item, SpuFileList& list, PlaylistEditor& editor, ColumnSortState& sort);

  BackgroundJob job_;
  BackgroundJob::Notify notify_;
  bool loading_ = false;
  LoadMode mode_ = LoadMode::ImportFile;
  int added_ = 0;  // import: rows added so far
};

}  // namespace kestrel
