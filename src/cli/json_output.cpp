#include "cli/json_output.h"

#include <sys/stat.h>

#include <cstdio>
#include <variant>

#include "spulog/log_length.h"
#include "spulog/log_loader.h"
#include "spulog/log_path.h"
#include "spulog/spu_log_file.h"
#include "spulog/title_text.h"

namespace kestrel::cli {

std::string JsonText(const nlohmann::json& value) {
  return value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

void PrintJson(const nlohmann::json& value) { std::printf("%s\n", JsonText(value).c_str()); }

nlohmann::json FileListToJson(const SpuFileList& list) {
  nlohmann::json entries = nlohmann::json::array();
  for (const SpuFileEntry& e : list.entries.Entries()) {
    entries.push_back({{"name", TitleToUtf8(e.name)}, {"time", e.time}, {"path", TitleToUtf8(e.path)}});
  }
  return {{"count", list.count}, {"entries", entries}};
}

nlohmann::json PluginRowsToJson(const std::vector<PluginRow>& rows) {
  nlohmann::json all = nlohmann::json::array();
  for (const PluginRow& row : rows) {
    all.push_back({{"info", TitleToUtf8(row.info)}, {"support", row.support}, {"fileName", TitleToUtf8(row.fileName)}});
  }
  return all;
}

nlohmann::json HeaderToJson(const HeaderInformation& header) {
  return {{"present", header.present},
          {"signature", TitleToUtf8(header.signature)},
          {"gameTitle", TitleToUtf8(header.gameTitle)},
          {"musicTitle", TitleToUtf8(header.musicTitle)},
          {"copyright", TitleToUtf8(header.copyright)}};
}

nlohmann::json PlaylistToJson(const PlaylistContents& contents) {
  nlohmann::json paths = nlohmann::json::array();
  for (const std::string& p : contents.paths) paths.push_back(TitleToUtf8(p));
  return {{"title", TitleToUtf8(contents.title)}, {"registeredNumber", contents.registeredNumber}, {"paths", paths}};
}

nlohmann::json DescribeLog(const std::string& path) {
  nlohmann::json out;
  out["path"] = TitleToUtf8(path);
  out["opened"] = SpuLogFile::Open(path).has_value();
  out["loadable"] = std::holds_alternative<LoadedLog>(LoadSpuLog(path));

  const std::optional<LogLength> length = ReadLogLength(path);
  const std::optional<LogFileType> format = ReadLogFormat(path);
  out["format"] = format ? nlohmann::json(*format == LogFileType::Old ? "old" : "new") : nullptr;
  out["totalLength"] = length ? nlohmann::json(length->totalLength) : nullptr;
  out["lengthText"] = FormatLogLength(length);
  out["timeText"] = length ? FormatPanelLength(length->totalLength) : "-- : --";
  out["header"] = HeaderToJson(ReadHeaderInformation(path));

  struct stat info {};
  out["sizeText"] = ::stat(path.c_str(), &info) == 0
                        ? nlohmann::json(FormatSizeText(static_cast<std::uint64_t>(info.st_size),
                                                        IsCompressedLogPath(path)))
                        : nullptr;
  return out;
}

}  // namespace kestrel::cli
