#include "playlist/playlist_load_thread.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "library/file_detection_thread.h"
#include "library/ordered_length_reader.h"
#include "library/scan_spu_folder.h"
#include "playlist/playlist_file.h"

namespace kestrel {
namespace {

bool IsImport(LoadMode mode) { return mode == LoadMode::ImportFile || mode == LoadMode::ImportSlot; }

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void PushRows(JobOutput& out, const std::vector<std::string>& paths) {
  ReadLogEntriesInOrder(paths, DefaultLengthReaders(), out.CancelFlag(), [&out](SpuFileEntry row) {
    out.Push({JobItem::Kind::Row, std::move(row), {}, 0});
  });
}

void End(JobOutput& out, int number) { out.Push({JobItem::Kind::End, {}, {}, number}); }

// Only the playlist's existing files, in playlist order; nothing at all for an empty count.
void ImportJob(JobOutput& out, const std::string& playlistPath) {
  const PlaylistContents contents = ReadPlaylist(playlistPath);
  if (contents.registeredNumber <= 0) return End(out, 0);  // the list stays as it was
  out.Push({JobItem::Kind::Begin, {}, {}, 0});
  std::vector<std::string> existing;
  std::copy_if(contents.paths.begin(), contents.paths.end(), std::back_inserter(existing), IsRegularFile);
  PushRows(out, existing);
  End(out, 0);
}

// Every row of the playlist, also those whose file is missing.
void EditorJob(JobOutput& out, const std::string& playlistPath) {
  const PlaylistContents contents = ReadPlaylist(playlistPath);
  out.Push({JobItem::Kind::Begin, {}, contents.title, static_cast<int>(contents.paths.size())});
  PushRows(out, contents.paths);
  End(out, 0);
}

void FolderJob(JobOutput& out, const std::string& folder) {
  out.Push({JobItem::Kind::Begin, {}, folder, 0});
  PushRows(out, ListSpuFolder(folder));
  End(out, 0);
}

}  // namespace

bool PlaylistLoadThread::Start(const LoadRequest& request, SpuFileList& list, PlaylistEditor& editor) {
  if (loading_) return false;
  if (IsImport(request.mode) && list.Filling()) return false;
  loading_ = true;
  mode_ = request.mode;
  added_ = 0;
  if (IsImport(mode_)) list.importing = true;
  if (mode_ == LoadMode::LoadIntoEditor) editor.currentPlaylistPath = request.path;
  if (!list.detecting) list.statusText = kDetectingFilesText;

  BackgroundJob::Work work;
  switch (request.mode) {
    case LoadMode::ImportFile:
    case LoadMode::ImportSlot:
      work = [path = request.path](JobOutput& out) { ImportJob(out, path); };
      break;
    case LoadMode::LoadIntoEditor:
      work = [path = request.path](JobOutput& out) { EditorJob(out, path); };
      break;
    case LoadMode::OpenFolder:
      work = [folder = request.path](JobOutput& out) { FolderJob(out, folder); };
      break;
  }
  job_.Start(std::move(work), notify_);
  return true;
}

void PlaylistLoadThread::Apply(JobItem& item, SpuFileList& list, PlaylistEditor& editor, ColumnSortState& sort) {
  using Kind = JobItem::Kind;
  switch (mode_) {
    case LoadMode::ImportFile:
    case LoadMode::ImportSlot:
      if (item.kind == Kind::Begin) {
        list.entries.Clear();
        list.count = 0;
      } else if (item.kind == Kind::Row) {
        item.row.checked = false;
        list.entries.Insert(static_cast<std::size_t>(added_), std::move(item.row));
        list.count = ++added_;
        list.entries.Select(0);
      }
      break;
    case LoadMode::LoadIntoEditor:
      if (item.kind == Kind::Begin) {
        editor.titleLabel = item.text;
        editor.playlist.Clear();
        editor.registeredCount = item.number;
      } else if (item.kind == Kind::Row) {
        editor.playlist.Append(std::move(item.row));
      }
      break;
    case LoadMode::OpenFolder:
      if (item.kind == Kind::Begin) {
        editor.leftFolder = item.text;
        editor.left.Clear();
        editor.leftCount = 0;
      } else if (item.kind == Kind::End) {
        SortByNameAscending(editor.left, sort);
      }
      break;
  }
  if (item.kind == Kind::End) {
    if (!list.detecting) list.statusText.clear();
    if (IsImport(mode_)) list.importing = false;
    loading_ = false;
  }
}

bool PlaylistLoadThread::Drain(SpuFileList& list, PlaylistEditor& editor, std::chrono::milliseconds wait,
                               ColumnSortState& sort) {
  if (!loading_) return true;
  std::vector<SpuFileEntry> folderRows;  // an opened folder's rows go to the top together
  for (JobItem& item : job_.Take(wait)) {
    if (mode_ == LoadMode::OpenFolder && item.kind == JobItem::Kind::Row) {
      ++editor.leftCount;
      folderRows.push_back(std::move(item.row));
      continue;
    }
    if (item.kind == JobItem::Kind::End) editor.left.InsertEachAtTop(std::exchange(folderRows, {}));
    Apply(item, list, editor, sort);
  }
  editor.left.InsertEachAtTop(std::move(folderRows));
  return !loading_;
}

bool PlaylistLoadThread::RunToEnd(const LoadRequest& request, SpuFileList& list, PlaylistEditor& editor,
                                  ColumnSortState& sort) {
  if (!Start(request, list, editor)) return false;
  while (!Drain(list, editor, std::chrono::milliseconds(100), sort)) {
  }
  return true;
}

}  // namespace kestrel
