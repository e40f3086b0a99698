#pragma once
// Playlist files (*.klt): an INI file with one section that names a title and an ordered
// list of log paths.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_replace.h"

namespace kestrel {

inline constexpr const char* kPlaylistSection = "Kestrel SPU Player PlayList";
inline constexpr const char* kPlaylistExtension = ".klt";
// A playlist naming more rows than this is read only this far, so a damaged count cannot
// exhaust memory.
inline constexpr int kMaxPlaylistRows = 100000;

std::string FilePathKey(int index);  // "FilePath[%d]"

struct PlaylistContents {
  std::string title;         // ListTitle, empty when missing
  int registeredNumber = 0;  // RegisteredNumber as stored (default 0; may be negative)
  // FilePath[0 .. n-1], empty for a missing key. n is RegisteredNumber, but never more
  // than the highest FilePath key present below kMaxPlaylistRows + 1: rows past it could
  // only be empty.
  std::vector<std::string> paths;
};

// A missing or unreadable file reads as an empty playlist.
PlaylistContents ReadPlaylist(const std::string& path);
// The same from the file's text.
PlaylistContents ParsePlaylist(std::string_view text);

// Why a playlist file could not give `path` back as it is (it holds a line break, begins
// or ends with a space, or is longer than a stored value can be), or empty when it can.
std::string PlaylistPathProblem(std::string_view path);

// Writes the playlist in one replacement of the file, so that a failed write leaves the
// old file as it was: ListTitle when `title` is given (cut to 255 bytes; an existing file
// keeps its other keys), RegisteredNumber and FilePath[0 .. n-1], and deletes every other
// FilePath key. A path that would not come back as it is fails the write, with the reason.
WriteResult WritePlaylist(const std::string& path, const std::optional<std::string>& title,
                          const std::vector<std::string>& paths);

// Writes ListTitle alone, as the New PlayList dialog does.
WriteResult WritePlaylistTitle(const std::string& path, const std::string& title);
// Writes the rows alone; ListTitle stays.
WriteResult WritePlaylistRows(const std::string& path, const std::vector<std::string>& paths);

}  // namespace kestrel
