#include "playlist/playlist_file.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/ini_file.h"
#include "platform/directory_listing.h"

namespace kestrel {
namespace {

// The index of a "FilePath[n]" key, whatever its letter case.
std::optional<int> FilePathIndex(const std::string& key) {
  constexpr std::string_view kPrefix = "filepath[";
  if (key.size() < kPrefix.size() + 2 || !EndsWithNoCase(key, "]") ||
      !EndsWithNoCase(key.substr(0, kPrefix.size()), kPrefix)) {
    return std::nullopt;
  }
  const std::string digits = key.substr(kPrefix.size(), key.size() - kPrefix.size() - 1);
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return ParseProfileInt(digits);
}

}  // namespace

std::string FilePathKey(int index) {
  char key[32];
  std::snprintf(key, sizeof key, "FilePath[%d]", index);
  return key;
}

PlaylistContents ReadPlaylist(const std::string& path) {
  const IniDocument ini = IniFile(path).Read();
  PlaylistContents contents;
  contents.title = ini.GetString(kPlaylistSection, "ListTitle");
  contents.registeredNumber = ini.GetInt(kPlaylistSection, "RegisteredNumber", 0);

  int highest = -1;
  for (const std::string& key : ini.Keys(kPlaylistSection)) {
    if (const auto index = FilePathIndex(key)) highest = std::max(highest, *index);
  }
  const int rows = std::min({contents.registeredNumber, highest + 1, kMaxPlaylistRows});
  for (int i = 0; i < rows; ++i) contents.paths.push_back(ini.GetString(kPlaylistSection, FilePathKey(i)));
  return contents;
}

bool WritePlaylistTitle(const std::string& path, const std::string& title) {
  return IniFile(path).WriteString(kPlaylistSection, "ListTitle", title);
}

bool WritePlaylistRows(const std::string& path, const std::vector<std::string>& paths) {
  return IniFile(path).Update([&paths](IniDocument& ini) {
    // Every FilePath key past the new end goes, also those a damaged count never covered.
    for (const std::string& key : ini.Keys(kPlaylistSection)) {
      const auto index = FilePathIndex(key);
      if (index && *index >= static_cast<int>(paths.size())) ini.Remove(kPlaylistSection, key);
    }
    ini.Set(kPlaylistSection, "RegisteredNumber", std::to_string(paths.size()));
    for (std::size_t i = 0; i < paths.size(); ++i) {
      ini.Set(kPlaylistSection, FilePathKey(static_cast<int>(i)), paths[i]);
    }
  });
}

}  // namespace kestrel
