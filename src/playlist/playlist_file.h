#pragma once
// Playlist files (*.klt): an INI file with one section that names a title and an ordered
// list of log paths.

#include <string>
#include <vector>

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
  // than the highest FilePath key present + 1: rows past it could only be empty.
  std::vector<std::string> paths;
};

// A missing or unreadable file reads as an empty playlist.
PlaylistContents ReadPlaylist(const std::string& path);

// Writes ListTitle (an existing file keeps its other keys). False when it cannot be written.
bool WritePlaylistTitle(const std::string& path, const std::string& title);

// Writes RegisteredNumber and FilePath[0 .. n-1] and deletes every other FilePath key, in
// one replacement of the file; ListTitle stays. False when it cannot be written.
bool WritePlaylistRows(const std::string& path, const std::vector<std::string>& paths);

}  // namespace kestrel
