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

PlaylistContents Contents(const IniDocument& ini) {
  PlaylistContents contents;
  contents.title = ini.GetString(kPlaylistSection, "ListTitle");
  contents.registeredNumber = ini.GetInt(kPlaylistSection, "RegisteredNumber", 0);

  // Only keys the row limit reaches count; "FilePath[2147483647]" names no row.
  int highest = -1;
  for (const std::string& key : ini.Keys(kPlaylistSection)) {
    const auto index = FilePathIndex(key);
    if (index && *index < kMaxPlaylistRows) highest = std::max(highest, *index);
  }
  const int rows = std::min(contents.registeredNumber, highest + 1);
  for (int i = 0; i < rows; ++i) contents.paths.push_back(ini.GetString(kPlaylistSection, FilePathKey(i)));
  return contents;
}

}  // namespace

std::string FilePathKey(int index) {
  char key[32];
  std::snprintf(key, sizeof key, "FilePath[%d]", index);
  return key;
}

PlaylistContents ReadPlaylist(const std::string& path) { return Contents(IniFile(path).Read()); }

PlaylistContents ParsePlaylist(std::string_view text) {
  IniDocument ini;
  ini.Parse(text);
  return Contents(ini);
}

std::string PlaylistPathProblem(std::string_view path) {
  if (path.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return "it holds a line break";
  // A value is read back without the blanks around it.
  constexpr std::string_view kBlanks = " \t";
  if (!path.empty() && (kBlanks.find(path.front()) != std::string_view::npos ||
                        kBlanks.find(path.back()) != std::string_view::npos)) {
    return "it begins or ends with a space";
  }
  if (path.size() > kProfileStringLimit) {
    return "it is longer than " + std::to_string(kProfileStringLimit) + " bytes";
  }
  return {};
}

WriteResult WritePlaylist(const std::string& path, const std::optional<std::string>& title,
                          const std::vector<std::string>& paths) {
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (const std::string problem = PlaylistPathProblem(paths[i]); !problem.empty()) {
      return WriteFailed("row " + std::to_string(i + 1) + " cannot be stored because " + problem + ": " + paths[i]);
    }
  }
  return IniFile(path).Edit([&title, &paths](IniDocument& ini) {
    if (title) ini.Set(kPlaylistSection, "ListTitle", title->substr(0, 255));
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

WriteResult WritePlaylistTitle(const std::string& path, const std::string& title) {
  return IniFile(path).Edit([&title](IniDocument& ini) { ini.Set(kPlaylistSection, "ListTitle", title.substr(0, 255)); });
}

WriteResult WritePlaylistRows(const std::string& path, const std::vector<std::string>& paths) {
  return WritePlaylist(path, std::nullopt, paths);
}

}  // namespace kestrel
