#include "library/selected_file_info.h"

#include <sys/stat.h>

#include "spulog/header_information.h"
#include "spulog/log_length.h"
#include "spulog/log_path.h"
#include "spulog/title_text.h"

namespace kestrel {

bool ShowSelectedFileInfo(SelectedFilePanel& panel, const SpuFileList& list,
                          const std::optional<std::string>& droppedPath) {
  std::string name;
  std::string path;
  if (droppedPath) {
    path = *droppedPath;
    name = NameWithoutLastExtension(path);
  } else if (const SpuFileEntry* entry = list.entries.SelectedEntry()) {
    name = entry->name;
    path = entry->path;
  } else {
    return false;
  }

  panel.path = path;
  panel.fileName = name;
  struct stat info {};
  panel.size = ::stat(path.c_str(), &info) == 0
                   ? FormatSizeText(static_cast<std::uint64_t>(info.st_size), IsCompressedLogPath(path))
                   : kFileNotFoundText;
  panel.targetFileName = name;

  const std::optional<LogLength> length = ReadLogLength(path);
  panel.time = length ? FormatPanelLength(length->totalLength) : kUnknownPanelLength;
  panel.fileFormat = length ? std::optional(length->type) : std::nullopt;

  panel.currentLogPath = path;

  const HeaderInformation header = ReadHeaderInformation(path);
  panel.format = TitleToUtf8(header.signature);
  panel.gameTitle = TitleToUtf8(header.gameTitle);
  panel.musicTitle = TitleToUtf8(header.musicTitle);
  panel.copyright = TitleToUtf8(header.copyright);

  panel.statusFileText = "File : " + name;
  return true;
}

}  // namespace kestrel
