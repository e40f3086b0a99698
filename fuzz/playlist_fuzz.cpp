// Any bytes as a playlist file: reading never fails and stays within its limits, and a
// path the writer accepts reads back exactly as it was written.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ini_file.h"
#include "playlist/playlist_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const kestrel::PlaylistContents contents = kestrel::ParsePlaylist(text);
  if (contents.paths.size() > static_cast<std::size_t>(kestrel::kMaxPlaylistRows)) std::abort();
  for (const std::string& path : contents.paths) {
    if (path.size() > kestrel::kProfileStringLimit) std::abort();
  }

  const std::string path(text.substr(0, 300));
  if (!kestrel::PlaylistPathProblem(path).empty()) return 0;
  kestrel::IniDocument written;
  written.Set(kestrel::kPlaylistSection, "RegisteredNumber", "1");
  written.Set(kestrel::kPlaylistSection, kestrel::FilePathKey(0), path);
  const kestrel::PlaylistContents back = kestrel::ParsePlaylist(written.Serialize());
  if (back.paths.size() != 1 || back.paths[0] != path) std::abort();
  return 0;
}
