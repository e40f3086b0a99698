#pragma once
// What the commands print as JSON. Names, titles and plugin texts are bytes from files and
// plugins, so each goes through the title rule (valid UTF-8 kept, anything else read as
// Windows-1252) and the printer replaces whatever still is not UTF-8: printing never fails.

#include <nlohmann/json.hpp>
#include <string>

#include "library/spu_file_list.h"
#include "playlist/playlist_file.h"
#include "plugin/plugin_scan.h"
#include "spulog/header_information.h"

namespace kestrel::cli {

// Indented JSON that is always valid UTF-8.
std::string JsonText(const nlohmann::json& value);
void PrintJson(const nlohmann::json& value);

// {"count": N, "entries": [{"name", "time", "path"}]} in list order.
nlohmann::json FileListToJson(const SpuFileList& list);
// [{"info", "support", "fileName"}] in row order.
nlohmann::json PluginRowsToJson(const std::vector<PluginRow>& rows);
// {"present", "signature", "gameTitle", "musicTitle", "copyright"}.
nlohmann::json HeaderToJson(const HeaderInformation& header);
// {"title", "registeredNumber", "paths"}.
nlohmann::json PlaylistToJson(const PlaylistContents& contents);
// What `info` tells of one log file.
nlohmann::json DescribeLog(const std::string& path);

}  // namespace kestrel::cli
