#pragma once
// The "PlayList Editor" page: the folder list and the playlist with their selections, the
// title and count labels, the double-click action, the five buttons' states, the playlist
// rows' context menu, the "New PlayList" dialog's fields, and the one playlist load job
// (which also imports playlists into the SPU file list). The controller calls these on its
// own thread; choosers and dialogs are opened by the front end, which hands their results in.

#include <chrono>
#include <optional>
#include <string>

#include "library/spu_file_list.h"
#include "platform/context_menu.h"
#include "platform/control_states.h"
#include "playlist/playlist_editor.h"
#include "playlist/playlist_load_thread.h"

namespace kestrel {

namespace playlist_id {
inline constexpr int kOpen = 1059;
inline constexpr int kLoadList = 1050;
inline constexpr int kClear = 1052;
inline constexpr int kSaveList = 1053;
inline constexpr int kAddAll = 1057;
inline constexpr int kRemoveRow = 2003;
inline constexpr int kRowUp = 2004;
inline constexpr int kRowDown = 2005;
}  // namespace playlist_id

// The open-file chooser of playlist files.
struct PlaylistFileChooser {
  std::string title = "Select Kestrel SPU Player PlayList";
  std::string filter = "Kestrel SPU Player PlayList (*.klt)";
  std::string pattern = "*.klt";
  std::string defaultExtension = "klt";
  std::string folder;       // "<startup>/list"
  std::string initialPath;  // pre-filled file name
  bool existingOnly = true;
};
PlaylistFileChooser MakePlaylistFileChooser(const std::string& startupFolder, std::string initialPath = {});

// The "New PlayList" dialog (fields "FileName :" with ".klt" after it, and "ListTitle :").
struct NewPlaylistDialogState {
  static constexpr const char* kCaptionText = "+ Please input the new PlayList info +";
  std::string fileName;
  std::string listTitle;
  NewPlaylistFrom from = NewPlaylistFrom::Menu;
};

// Double-click action drop-down rows (index = DoubleClickAction).
inline constexpr const char* kDoubleClickActionTexts[] = {"Remove from List", "Up to above line",
                                                          "Down to follow line"};

class PlaylistEditorPageState {
 public:
  // `fileList` receives imports; `loadNotify` is called on the load thread when work
  // arrives: post DrainLoad to the controller's thread.
  PlaylistEditorPageState(SpuFileList& fileList, std::string startupFolder, BackgroundJob::Notify loadNotify = {});

  PlaylistEditor editor;             // both lists, title label, registered count, binding
  ControlStates controls;            // 1059, 1050, 1052, 1053, 1057
  NewPlaylistDialogState newPlaylist;

  std::string RegisteredCountLabel() const { return std::to_string(editor.registeredCount); }
  std::string LeftCountLabel() const { return std::to_string(editor.leftCount); }
  bool Loading() const { return load_.Loading(); }  // the loading flag

  // The load jobs. Each returns false when refused (a job runs, or an import while the file
  // list is being scanned); true means the job runs: the controller greys its own items.
  bool OpenFolder(const std::string& folder);          // "Open", after the folder chooser
  bool LoadList(const std::string& playlistPath);      // "Load List", after the chooser
  bool ImportPlaylist(const std::string& playlistPath);  // "&Select PlayList", toolbar import
  bool ImportSlot(int slot, const std::string& playlistPath);  // a slot item: its playlist
  // Applies what the job handed over (the thread posted it). True when the job ended with
  // this call: then the controller re-enables its own items.
  bool DrainLoad(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
  void LoadToEnd();  // drains until the running job ends (tests, a front end without a loop)

  // The choosers to show before LoadList / OpenFolder (nullopt while a job runs).
  std::optional<PlaylistFileChooser> LoadListChooser() const;
  bool OpenFolderOffered() const { return !Loading(); }

  // Buttons (refused while a job runs).
  void AddAll();
  bool Clear();  // asks "Clear the PlayList, OK?"
  // "Save List". Bound: asks "Overwrite an old PlayList, OK?" and writes the rows.
  // Unbound: readies the New PlayList dialog, which the controller then opens; its OK
  // (NewPlaylistOk) creates the file and saves the rows into it.
  enum class SaveStep { Done, OpenNewPlaylistDialog };
  SaveStep SaveList();

  // The New PlayList dialog: opened from the menu (40005) or by Save List.
  void OpenNewPlaylistDialog(NewPlaylistFrom from);
  // OK: true when the dialog closes (the playlist was created, and saved when the dialog
  // came from Save List); false keeps it open (missing input, No to the question).
  bool NewPlaylistOk();

  // Rows.
  void SelectLeftRow(std::optional<std::size_t> row);
  void SelectPlaylistRow(std::optional<std::size_t> row);
  void DoubleClickLeftRow(std::optional<std::size_t> row);      // appends it
  void DoubleClickPlaylistRow(std::optional<std::size_t> row);  // the double-click action
  void SetDoubleClickAction(int index);
  void ClickLeftColumn(int column);
  void ClickPlaylistColumn(int column);
  // The playlist rows' right-click menu; nullopt: no menu is shown (a job runs).
  std::optional<ContextMenu> PlaylistMenu() const;
  void PageCommand(int command);  // 2003, 2004, 2005

 private:
  bool StartLoad(const LoadRequest& request);
  void UpdateControls();

  SpuFileList& fileList_;
  std::string startupFolder_;
  PlaylistLoadThread load_;
};

}  // namespace kestrel
