// kestrel-spu info: what the readers make of each log.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/json_output.h"

namespace kestrel::cli {
namespace {

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
      PrintJson(all);
    } else {
      for (const auto& log : all) PrintTable(log);
    }
  });
}

}  // namespace kestrel::cli
