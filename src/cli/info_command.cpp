// kestrel-spu info: what the readers make of each log.

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <variant>
#include <vector>

#include "cli/commands.h"
#include "spulog/header_information.h"
#include "spulog/log_length.h"
#include "spulog/log_loader.h"
#include "spulog/log_path.h"
#include "spulog/spu_log_file.h"
#include "spulog/title_text.h"

namespace kestrel::cli {
namespace {

nlohmann::json DescribeLog(const std::string& path) {
  nlohmann::json out;
  out["path"] = path;
  out["opened"] = SpuLogFile::Open(path).has_value();
  out["loadable"] = std::holds_alternative<LoadedLog>(LoadSpuLog(path));

  const std::optional<LogLength> length = ReadLogLength(path);
  out["format"] = length ? nlohmann::json(length->type == LogFileType::Old ? "old" : "new") : nullptr;
  out["totalLength"] = length ? nlohmann::json(length->totalLength) : nullptr;
  out["lengthText"] = FormatLogLength(length);
  out["timeText"] = length ? FormatPanelLength(length->totalLength) : "-- : --";

  const HeaderInformation header = ReadHeaderInformation(path);
  out["header"] = {{"present", header.present},
                   {"signature", TitleToUtf8(header.signature)},
                   {"gameTitle", TitleToUtf8(header.gameTitle)},
                   {"musicTitle", TitleToUtf8(header.musicTitle)},
                   {"copyright", TitleToUtf8(header.copyright)}};

  struct stat info {};
  out["sizeText"] = ::stat(path.c_str(), &info) == 0
                        ? nlohmann::json(FormatSizeText(static_cast<std::uint64_t>(info.st_size),
                                                        IsCompressedLogPath(path)))
                        : nullptr;
  return out;
}

std::string Text(const nlohmann::json& value) {
  return value.is_string() ? value.get<std::string>() : (value.is_null() ? "-" : value.dump());
}

void PrintTable(const nlohmann::json& log) {
  const auto& h = log["header"];
  std::printf("%s\n", Text(log["path"]).c_str());
  std::printf("  opened     : %s\n", log["opened"].get<bool>() ? "yes" : "no");
  std::printf("  loadable   : %s\n", log["loadable"].get<bool>() ? "yes" : "no");
  std::printf("  format     : %s\n", Text(log["format"]).c_str());
  std::printf("  length     : %s (%s samples, %s)\n", Text(log["lengthText"]).c_str(),
              Text(log["totalLength"]).c_str(), Text(log["timeText"]).c_str());
  std::printf("  size       : %s\n", Text(log["sizeText"]).c_str());
  if (h["present"].get<bool>()) {
    std::printf("  signature  : %s\n", Text(h["signature"]).c_str());
    std::printf("  game title : %s\n", Text(h["gameTitle"]).c_str());
    std::printf("  music title: %s\n", Text(h["musicTitle"]).c_str());
    std::printf("  copyright  : %s\n", Text(h["copyright"]).c_str());
  } else {
    std::printf("  titles     : none\n");
  }
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("info", "Show the format, length and titles of SPU logs");
  auto logs = std::make_shared<std::vector<std::string>>();
  auto json = std::make_shared<bool>(false);
  command->add_option("LOG", *logs, "SPU log files (.spu or .gz)")->required();
  command->add_flag("--json", *json, "Print one JSON array");
  command->callback([logs, json, &status] {
    nlohmann::json all = nlohmann::json::array();
    for (const std::string& path : *logs) {
      all.push_back(DescribeLog(path));
      if (!all.back()["opened"].get<bool>()) status = 1;
    }
    if (*json) {
      std::printf("%s\n", all.dump(2).c_str());
    } else {
      for (const auto& log : all) PrintTable(log);
    }
  });
}

}  // namespace kestrel::cli
