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

// The New PlayList dialog's OK: checks the input, asks "Create the new PlayList, OK?", then
// creates "<startup>/list/<fileName>.klt" with its ListTitle (the list folder first) and
// leaves it in `pending`. On anything but Created the dialog stays open.
CreatePlaylistResult CreatePlaylist(const std::string& startupFolder, const std::string& fileName,
                                    const std::string& title, std::optional<NewPlaylist>& pending);

enum class SavePlaylistResult { Saved, Cancelled, Declined, WriteFailed };

// "Save List". Unbound: runs the New PlayList dialog (`runNewPlaylistDialog` returns true
// when a creation was confirmed in it) and binds to the new file. Bound: asks "Overwrite an
// old PlayList, OK?". Then writes the rows; a failed write is reported, not passed off as
// saved.
SavePlaylistResult SavePlaylist(PlaylistEditor& editor, const std::function<bool()>& runNewPlaylistDialog);

}  // namespace kestrel
