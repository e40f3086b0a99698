#include "playlist/playlist_editor_page_state.h"

#include "library/column_sort_state.h"

namespace kestrel {
namespace {

namespace id = playlist_id;

constexpr const char* kPlaylistMenuTexts[] = {"&Remove from List", "&Up to above Line", "&Down to follow Line"};
constexpr int kPlaylistMenuCommands[] = {id::kRemoveRow, id::kRowUp, id::kRowDown};

}  // namespace

PlaylistFileChooser MakePlaylistFileChooser(const std::string& startupFolder, std::string initialPath) {
  PlaylistFileChooser chooser;
  chooser.folder = startupFolder + "/list";
  chooser.initialPath = std::move(initialPath);
  return chooser;
}

PlaylistEditorPageState::PlaylistEditorPageState(SpuFileList& fileList, std::string startupFolder,
                                                 BackgroundJob::Notify loadNotify)
    : fileList_(fileList), startupFolder_(std::move(startupFolder)), load_(std::move(loadNotify)) {
  UpdateControls();
}

void PlaylistEditorPageState::UpdateControls() {
  controls.SetEnabled({id::kOpen, id::kLoadList, id::kClear, id::kSaveList, id::kAddAll}, !Loading());
}

bool PlaylistEditorPageState::StartLoad(const LoadRequest& request) {
  const bool started = load_.Start(request, fileList_, editor);
  UpdateControls();
  return started;
}

bool PlaylistEditorPageState::OpenFolder(const std::string& folder) {
  return StartLoad({LoadMode::OpenFolder, folder, 0});
}

bool PlaylistEditorPageState::LoadList(const std::string& playlistPath) {
  return StartLoad({LoadMode::LoadIntoEditor, playlistPath, 0});
}

bool PlaylistEditorPageState::ImportPlaylist(const std::string& playlistPath) {
  return StartLoad({LoadMode::ImportFile, playlistPath, 0});
}

bool PlaylistEditorPageState::ImportSlot(int slot, const std::string& playlistPath) {
  return StartLoad({LoadMode::ImportSlot, playlistPath, slot});
}

bool PlaylistEditorPageState::DrainLoad(std::chrono::milliseconds wait) {
  if (!Loading()) return false;
  const bool ended = load_.Drain(fileList_, editor, wait);
  if (ended) UpdateControls();
  return ended;
}

void PlaylistEditorPageState::LoadToEnd() {
  while (Loading() && !DrainLoad(std::chrono::milliseconds(100))) {
  }
}

std::optional<PlaylistFileChooser> PlaylistEditorPageState::LoadListChooser() const {
  if (Loading()) return std::nullopt;
  return MakePlaylistFileChooser(startupFolder_, editor.currentPlaylistPath);
}

void PlaylistEditorPageState::AddAll() {
  if (!Loading()) AddAllRows(editor);
}

bool PlaylistEditorPageState::Clear() { return !Loading() && ClearPlaylist(editor); }

// The save runs in two halves around the dialog, which the front end shows on its own
// time: the rows are checked before it opens and written once its OK has created the file.
PlaylistEditorPageState::SaveStep PlaylistEditorPageState::SaveList() {
  if (Loading()) return SaveStep::Done;
  bool needsDialog = false;
  SavePlaylist(editor, [&needsDialog] {
    needsDialog = true;
    return false;  // not now: the dialog's OK saves
  });
  if (!needsDialog) return SaveStep::Done;
  OpenNewPlaylistDialog(NewPlaylistFrom::SaveList);
  return SaveStep::OpenNewPlaylistDialog;
}

void PlaylistEditorPageState::OpenNewPlaylistDialog(NewPlaylistFrom from) {
  newPlaylist = NewPlaylistDialogState{};
  newPlaylist.from = from;
}

bool PlaylistEditorPageState::NewPlaylistOk() {
  const auto create = [this] {
    return CreatePlaylist(startupFolder_, newPlaylist.fileName, newPlaylist.listTitle, editor.pendingNewPlaylist,
                          newPlaylist.from) == CreatePlaylistResult::Created;
  };
  if (newPlaylist.from == NewPlaylistFrom::Menu) return create();
  bool created = false;
  SavePlaylist(editor, [&] { return created = create(); });
  return created;
}

void PlaylistEditorPageState::SelectLeftRow(std::optional<std::size_t> row) { editor.left.Select(row); }

void PlaylistEditorPageState::SelectPlaylistRow(std::optional<std::size_t> row) { editor.playlist.Select(row); }

// Also refused during a job: a playlist being loaded is still growing under its count.
void PlaylistEditorPageState::DoubleClickLeftRow(std::optional<std::size_t> row) {
  editor.left.Select(row);
  if (!Loading()) AddSelectedRow(editor);
}

void PlaylistEditorPageState::DoubleClickPlaylistRow(std::optional<std::size_t> row) {
  editor.playlist.Select(row);
  if (!Loading()) kestrel::DoubleClickPlaylistRow(editor);
}

void PlaylistEditorPageState::SetDoubleClickAction(int index) {
  if (index >= 0 && index < static_cast<int>(std::size(kDoubleClickActionTexts))) {
    editor.doubleClickAction = static_cast<DoubleClickAction>(index);
  }
}

void PlaylistEditorPageState::ClickLeftColumn(int column) { SortByColumnClick(editor.left, column); }

void PlaylistEditorPageState::ClickPlaylistColumn(int column) { SortByColumnClick(editor.playlist, column); }

std::optional<ContextMenu> PlaylistEditorPageState::PlaylistMenu() const {
  if (Loading()) return std::nullopt;
  ContextMenu menu;
  for (std::size_t i = 0; i < std::size(kPlaylistMenuCommands); ++i) {
    menu.push_back({kPlaylistMenuTexts[i], kPlaylistMenuCommands[i], true});
  }
  return menu;
}

void PlaylistEditorPageState::PageCommand(int command) {
  if (Loading()) return;
  switch (command) {
    case id::kRemoveRow: RemoveSelectedRow(editor); break;
    case id::kRowUp: MoveSelectedRowUp(editor); break;
    case id::kRowDown: MoveSelectedRowDown(editor); break;
    default: break;
  }
}

}  // namespace kestrel
