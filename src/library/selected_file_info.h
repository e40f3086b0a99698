#pragma once
// The "Selected File Info" panel: the details of the selected (or dropped) log, and the
// log the header editor and Start Play work on.

#include <optional>
#include <string>

#include "library/spu_file_list.h"
#include "spulog/log_format.h"

namespace kestrel {

inline constexpr const char* kUnknownPanelLength = "-- : --";
inline constexpr const char* kFileNotFoundText = "File not found";

struct SelectedFilePanel {
  // Labels "FileName :", "Time :", "Path :", "GameTilte :", "MusicTilte :", "Copyright :",
  // "Format :", "Size :". Titles are shown as UTF-8.
  std::string fileName;
  std::string time;
  std::string path;
  std::string gameTitle;
  std::string musicTitle;
  std::string copyright;
  std::string format;
  std::string size;
  std::string currentLogPath;        // CurrentLogPath
  std::string targetFileName;        // the decoder page's "Target FileName :"
  std::optional<LogFileType> fileFormat;  // the decoder page's format indicator; none when unreadable
  std::string statusFileText;        // "File : %s" in the status bar
};

// Fills the panel from `droppedPath` when given, else from the selected entry (nothing
// happens without one). False when nothing was shown. A log that cannot be read shows
// "-- : --" and no format rather than another file's values; a file that has gone shows
// "File not found" as its size.
bool ShowSelectedFileInfo(SelectedFilePanel& panel, const SpuFileList& list,
                          const std::optional<std::string>& droppedPath = std::nullopt);

}  // namespace kestrel
