// kestrel-spu titles: shows a log's titles, or writes them as the header editor saves them.

#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "spulog/header_editor.h"
#include "spulog/header_information.h"
#include "spulog/log_path.h"
#include "spulog/spu_log_file.h"
#include "spulog/title_text.h"
#include "spulog/title_writer.h"

namespace kestrel::cli {
namespace {

struct TitleOptions {
  std::string path;
  bool json = false;
  std::optional<std::string> game;
  std::optional<std::string> music;
  std::optional<std::string> copyright;
};

void PrintTitles(const std::string& path, bool json) {
  const HeaderInformation header = ReadHeaderInformation(path);
  nlohmann::json out = HeaderToJson(header);
  out["compressed"] = IsCompressedLogPath(path);
  if (json) {
    PrintJson(out);
    return;
  }
  for (const char* key : {"signature", "gameTitle", "musicTitle", "copyright"}) {
    std::printf("%-11s: %s\n", key, out[key].get<std::string>().c_str());
  }
}

// Writing was asked for on the command line, so the editor's question is answered Yes;
// only the fields given change.
int WriteTitles(const TitleOptions& options) {
  const std::string refusal = TitleWriteRefusal(options.path);
  if (IsCompressedLogPath(options.path)) {
    std::fprintf(stderr, "%s (%s)\n", kCompressedWarning, refusal.c_str());
    return 1;
  }
  if (!refusal.empty()) {
    std::fprintf(stderr, "Cannot write the titles of %s: %s\n", TitleToUtf8(options.path).c_str(), refusal.c_str());
    return 1;
  }
  const TitleEdits edits{options.game, options.music, options.copyright};
  if (const WriteResult written = kestrel::WriteTitles(options.path, edits); !written) {
    std::fprintf(stderr, "Cannot write the titles of %s: %s\n", TitleToUtf8(options.path).c_str(),
                 written.failure.c_str());
    return 1;
  }
  for (const std::string& note : TitleCutNotes(edits)) std::fprintf(stderr, "* Warning : %s\n", note.c_str());
  return 0;
}

}  // namespace

void AddTitlesCommand(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("titles", "Show or write the titles of an SPU log");
  auto options = std::make_shared<TitleOptions>();
  command->add_option("LOG", options->path, "SPU log file")->required();
  command->add_flag("--json", options->json, "Print one JSON object");
  command->add_option("--game", options->game, "New game title (at most 63 bytes are kept)");
  command->add_option("--music", options->music, "New music title (at most 63 bytes are kept)");
  command->add_option("--copyright", options->copyright, "New copyright (at most 31 bytes are kept)");
  command->callback([options, &status] {
    if (options->game || options->music || options->copyright) {
      status = WriteTitles(*options);
      if (status != 0) return;
    }
    PrintTitles(options->path, options->json);
    if (!SpuLogFile::Open(options->path)) status = 1;  // as `info` does for a log it cannot open
  });
}

}  // namespace kestrel::cli
