#pragma once
// The "PlayList Editor" page as a model: a folder's logs on the left, the playlist's rows
// on the right, and the playlist file the editor is bound to.

#include <functional>
#include <optional>
#include <string>

#include "library/entry_list.h"

namespace kestrel {

enum class DoubleClickAction { RemoveFromList = 0, UpToAboveLine = 1, DownToFollowLine = 2 };

// Left by the most recent confirmed New PlayList dialog.
struct NewPlaylist {
  std::string path;
  std::string title;
};

struct PlaylistEditor {
  std::string currentPlaylistPath;  // CurrentPlaylistPath: empty until Load List or a creating Save
  std::optional<NewPlaylist> pendingNewPlaylist;  // PendingNewPlaylist
  std::string titleLabel;
  int registeredCount = 0;  // the playlist's rows; written as RegisteredNumber
  EntryList left;           // the opened folder's logs
  std::string leftFolder;   // shown beside the left list's caption
  int leftCount = 0;        // files the last Open listed
  EntryList playlist;
  DoubleClickAction doubleClickAction = DoubleClickAction::RemoveFromList;
};

// A double-click on a left row: appends a copy of the selected left row.
void AddSelectedRow(PlaylistEditor& editor);
// "Add all >>": appends a copy of each left row, in display order, duplicates included.
void AddAllRows(PlaylistEditor& editor);
// "Clear" after "Clear the PlayList, OK?": removes every playlist row. The binding stays.
bool ClearPlaylist(PlaylistEditor& editor);
// Remove / up / down act on the selected playlist row and keep it selected where it went;
// removing row r selects row r - 1 (nothing for row 0).
void RemoveSelectedRow(PlaylistEditor& editor);
void MoveSelectedRowUp(PlaylistEditor& editor);
void MoveSelectedRowDown(PlaylistEditor& editor);
// A double-click on a playlist row: the chosen double-click action.
void DoubleClickPlaylistRow(PlaylistEditor& editor);

enum class CreatePlaylistResult { Created, MissingInfo, Declined, WriteFailed };

// Where the New PlayList dialog runs: from the menu it writes the file's ListTitle at once;
// from Save List the title is written with the rows, so that a failed save leaves no file
// half made.
enum class NewPlaylistFrom { Menu, SaveList };

// The New PlayList dialog's OK: checks the input, asks "Create the new PlayList, OK?", then
// names "<startup>/list/<fileName>.klt" (creating the list folder), writes its ListTitle
// when run from the menu, and leaves it in `pending`. On anything but Created the dialog
// stays open.
CreatePlaylistResult CreatePlaylist(const std::string& startupFolder, const std::string& fileName,
                                    const std::string& title, std::optional<NewPlaylist>& pending,
                                    NewPlaylistFrom from = NewPlaylistFrom::Menu);

enum class SavePlaylistResult { Saved, Cancelled, Declined, Unstorable, WriteFailed };

// "Save List". Rows whose paths a playlist file could not give back are refused first, with
// the reason. Unbound: runs the New PlayList dialog (`runNewPlaylistDialog` returns true
// when a creation was confirmed in it, run with NewPlaylistFrom::SaveList) and binds to the
// new file. Bound: asks "Overwrite an old PlayList, OK?". Then writes the rows (with the
// new title) in one replacement of the file; a failed write is reported with its reason and
// leaves the file as it was.
SavePlaylistResult SavePlaylist(PlaylistEditor& editor, const std::function<bool()>& runNewPlaylistDialog);

}  // namespace kestrel
