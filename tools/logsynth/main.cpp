// kestrel-logsynth: builds SPU logs from a text score.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "log_synth.h"
#include "score_parser.h"
#include "spulog/log_path.h"

namespace {

int Run(const std::string& scorePath, std::string output, const std::string& format, bool gzip) {
  std::ifstream in(scorePath, std::ios::binary);
  if (!in) {
    std::cerr << "kestrel-logsynth: cannot open " << scorePath << "\n";
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  auto parsed = kestrel::logsynth::ParseScore(text.str());
  if (auto* error = std::get_if<kestrel::logsynth::ScoreError>(&parsed)) {
    std::cerr << scorePath << ": " << error->Text() << "\n";
    return 1;
  }
  auto& score = std::get<kestrel::logsynth::Score>(parsed);
  if (!format.empty()) score.format = format == "old" ? kestrel::LogFileType::Old : kestrel::LogFileType::New;
  const std::filesystem::path path(scorePath);
  if (output.empty()) output = path.stem().string() + (score.gzip || gzip ? ".gz" : ".spu");
  gzip = gzip || score.gzip || kestrel::IsCompressedLogPath(output);

  auto built = kestrel::logsynth::SynthesiseLog(score, path.parent_path().empty() ? "." : path.parent_path().string());
  if (auto* error = std::get_if<kestrel::logsynth::ScoreError>(&built)) {
    std::cerr << scorePath << ": " << error->Text() << "\n";
    return 1;
  }
  const auto& log = std::get<kestrel::logsynth::SynthesisedLog>(built);
  if (const auto failure = log.writer.WriteFile(output, gzip)) {
    std::cerr << "kestrel-logsynth: " << *failure << "\n";
    return 1;
  }
  std::cout << output << ": " << (score.format == kestrel::LogFileType::Old ? "old" : "new") << " format, "
            << log.writer.RecordCount() << " events, " << log.totalLength / 44100.0 << " s"
            << (gzip ? ", gzip" : "") << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"kestrel-logsynth: builds a PlayStation SPU log from a text score."};
  app.footer(kestrel::logsynth::kScoreFormatHelp);
  std::string score, output, format;
  bool gzip = false;
  app.add_option("score", score, "The score file")->required();
  app.add_option("-o,--output", output, "The log to write (default: the score's name, .spu or .gz)");
  app.add_option("--format", format, "Override the score's format")->check(CLI::IsMember({"old", "new"}));
  app.add_flag("--gzip", gzip, "Compress the log");
  CLI11_PARSE(app, argc, argv);
  return Run(score, output, format, gzip);
}
