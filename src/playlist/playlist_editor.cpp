#include "playlist/playlist_editor.h"

#include <sys/stat.h>

#include <vector>

#include "platform/message_port.h"
#include "playlist/playlist_file.h"

namespace kestrel {
namespace {

bool Confirm(const std::string& text, const char* caption) {
  return MessagePort::Show(text, caption, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

void AppendToPlaylist(PlaylistEditor& editor, const SpuFileEntry& row) {
  SpuFileEntry copy{row.name, row.time, row.path, false, 0};
  editor.playlist.Insert(static_cast<std::size_t>(std::max(editor.registeredCount, 0)), std::move(copy));
  editor.registeredCount = static_cast<int>(editor.playlist.Size());
}

void ShowWriteFailure(const std::string& path, const WriteResult& written) {
  MessagePort::Show("Cannot write the PlayList file: " + written.failure + ".\n\n" + path, "Warning",
                    MessageIcon::Exclamation);
}

}  // namespace

void AddSelectedRow(PlaylistEditor& editor) {
  if (const SpuFileEntry* row = editor.left.SelectedEntry()) AppendToPlaylist(editor, *row);
}

void AddAllRows(PlaylistEditor& editor) {
  const std::size_t rows = std::min(static_cast<std::size_t>(std::max(editor.leftCount, 0)), editor.left.Size());
  for (std::size_t i = 0; i < rows; ++i) AppendToPlaylist(editor, editor.left.At(i));
}

bool ClearPlaylist(PlaylistEditor& editor) {
  if (!Confirm("Clear the PlayList, OK?", "Confirm")) return false;
  editor.playlist.Clear();
  editor.registeredCount = 0;
  return true;
}

void RemoveSelectedRow(PlaylistEditor& editor) {
  const auto selected = editor.playlist.Selected();
  if (!selected) return;
  editor.playlist.Remove(*selected);
  editor.registeredCount = static_cast<int>(editor.playlist.Size());
  editor.playlist.Select(*selected == 0 ? std::nullopt : std::optional(*selected - 1));
}

void MoveSelectedRowUp(PlaylistEditor& editor) {
  const auto selected = editor.playlist.Selected();
  if (selected && *selected >= 1) editor.playlist.Move(*selected, *selected - 1);
}

void MoveSelectedRowDown(PlaylistEditor& editor) {
  const auto selected = editor.playlist.Selected();
  if (selected && *selected + 1 < editor.playlist.Size()) editor.playlist.Move(*selected, *selected + 1);
}

void DoubleClickPlaylistRow(PlaylistEditor& editor) {
  switch (editor.doubleClickAction) {
    case DoubleClickAction::RemoveFromList: RemoveSelectedRow(editor); break;
    case DoubleClickAction::UpToAboveLine: MoveSelectedRowUp(editor); break;
    case DoubleClickAction::DownToFollowLine: MoveSelectedRowDown(editor); break;
  }
}

CreatePlaylistResult CreatePlaylist(const std::string& startupFolder, const std::string& fileName,
                                    const std::string& title, std::optional<NewPlaylist>& pending,
                                    NewPlaylistFrom from) {
  const std::string name = fileName.substr(0, 255);
  const std::string listTitle = title.substr(0, 255);
  if (name.empty() || listTitle.empty()) {
    MessagePort::Show("Please input the new PlayList info.", "Warning", MessageIcon::Exclamation);
    return CreatePlaylistResult::MissingInfo;
  }
  if (!Confirm("Create the new PlayList, OK?\n\nFileName -> " + name + "\nListTitle -> " + listTitle + "\n\n",
               "Confirm")) {
    return CreatePlaylistResult::Declined;
  }
  const std::string folder = startupFolder + "/list";
  ::mkdir(folder.c_str(), 0755);  // an existing folder is fine; a failure shows in the write
  const std::string path = folder + "/" + name + kPlaylistExtension;
  if (from == NewPlaylistFrom::Menu) {
    if (const WriteResult written = WritePlaylistTitle(path, listTitle); !written) {
      ShowWriteFailure(path, written);
      return CreatePlaylistResult::WriteFailed;
    }
  }
  pending = NewPlaylist{path, listTitle};
  return CreatePlaylistResult::Created;
}

SavePlaylistResult SavePlaylist(PlaylistEditor& editor, const std::function<bool()>& runNewPlaylistDialog) {
  std::vector<std::string> paths;
  for (const SpuFileEntry& row : editor.playlist.Entries()) {
    if (const std::string problem = PlaylistPathProblem(row.path); !problem.empty()) {
      MessagePort::Show("This row can't be saved in a PlayList: " + problem + ".\n\n" + row.path, "Warning",
                        MessageIcon::Exclamation);
      return SavePlaylistResult::Unstorable;
    }
    paths.push_back(row.path);
  }
  std::optional<NewPlaylist> created;
  if (editor.currentPlaylistPath.empty()) {
    editor.pendingNewPlaylist.reset();
    if (!runNewPlaylistDialog || !runNewPlaylistDialog() || !editor.pendingNewPlaylist) {
      return SavePlaylistResult::Cancelled;
    }
    created = editor.pendingNewPlaylist;
  } else if (!Confirm("Overwrite an old PlayList, OK?", "Save PlayList")) {
    return SavePlaylistResult::Declined;
  }

  const std::string& path = created ? created->path : editor.currentPlaylistPath;
  const std::optional<std::string> title = created ? std::optional(created->title) : std::nullopt;
  if (const WriteResult written = WritePlaylist(path, title, paths); !written) {
    ShowWriteFailure(path, written);
    return SavePlaylistResult::WriteFailed;  // a new playlist stays unbound, as nothing was made
  }
  if (created) {
    editor.currentPlaylistPath = created->path;
    editor.titleLabel = created->title;
  }
  return SavePlaylistResult::Saved;
}

}  // namespace kestrel
