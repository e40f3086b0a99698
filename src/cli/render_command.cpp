// kestrel-spu render: many logs into WAV or FLAC files, one worker process per log.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/render_inputs.h"
#include "cli/render_log.h"
#include "cli/terminal.h"
#include "cli/worker_processes.h"
#include "spulog/title_text.h"

namespace kestrel::cli {
namespace {

struct RenderOptions {
  std::vector<std::string> inputs;
  std::string plugin;
  std::string outputFolder;
  int jobs = 0;
  std::optional<int> seconds;
  std::string format = "wav";
  std::string nameTemplate = "{name}";
  bool overwrite = false;
  bool stems = false;
  bool json = false;
};

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct BatchEntry {
  RenderTask task;
  RenderOutcome outcome;
  bool ready = false;  // may start rendering; otherwise its outcome is already known
};

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {}, second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

// Everything that can be told before rendering: bad arguments, names, outputs that exist.
std::vector<BatchEntry> PlanBatch(const RenderOptions& o) {
  const std::string extension = o.stems ? "" : o.format == "flac" ? ".flac" : ".wav";
  std::vector<BatchEntry> entries;
  std::map<std::string, std::string> claimed;  // output -> the log that renders into it
  std::size_t index = 0;
  for (const RenderInput& input : ExpandRenderInputs(o.inputs)) {
    BatchEntry& e = entries.emplace_back();
    e.task = {input.path, {}, o.plugin, o.format == "flac" ? RenderFormat::Flac : RenderFormat::Wav, o.seconds,
              o.overwrite, o.stems};
    auto fail = [&e](RenderResult result, std::string reason) { e.outcome = {result, 0, std::move(reason), 0}; };
    if (!input.error.empty()) {
      fail(RenderResult::Failed, input.error);
      continue;
    }
    std::string error;
    const std::string name = RenderOutputName(o.nameTemplate, input.path, ++index, error);
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
      fail(RenderResult::Failed, error.empty() ? "the name template gives no file name: \"" + name + "\"" : error);
      continue;
    }
    e.task.outputPath = o.outputFolder + "/" + name + extension;
    if (auto [it, fresh] = claimed.emplace(e.task.outputPath, input.path); !fresh) {
      fail(RenderResult::Failed, e.task.outputPath + " is also the output of " + it->second);
    } else if (SameFile(e.task.outputPath, input.path)) {
      fail(RenderResult::Failed, e.task.outputPath + " is the log itself");
    } else if (!o.overwrite && ::access(e.task.outputPath.c_str(), F_OK) == 0) {
      fail(RenderResult::Skipped, e.task.outputPath + " exists (--overwrite replaces it)");
    } else {
      e.ready = true;
    }
  }
  return entries;
}

nlohmann::json SummaryJson(const std::vector<BatchEntry>& entries, double wallSeconds) {
  nlohmann::json logs = nlohmann::json::array();
  std::map<std::string, int> counts{{"rendered", 0}, {"failed", 0}, {"skipped", 0}, {"interrupted", 0}};
  for (const BatchEntry& e : entries) {
    ++counts[RenderResultName(e.outcome.result)];
    logs.push_back({{"path", TitleToUtf8(e.task.logPath)},
                    {"output", e.task.outputPath.empty() ? nlohmann::json(nullptr) : nlohmann::json(TitleToUtf8(e.task.outputPath))},
                    {"audioSeconds", e.outcome.audioSeconds},
                    {"wallSeconds", e.outcome.wallSeconds},
                    {"result", RenderResultName(e.outcome.result)},
                    {"reason", TitleToUtf8(e.outcome.reason)}});
  }
  nlohmann::json summary{{"logs", logs}, {"wallSeconds", wallSeconds}};
  for (const auto& [name, count] : counts) summary[name] = count;
  return summary;
}

class ProgressLines {
 public:
  ProgressLines(std::FILE* out, std::size_t total) : out_(out), total_(total) {}
  void Report(const BatchEntry& e) {
    const RenderOutcome& r = e.outcome;
    std::fprintf(out_, "[%*zu/%zu] %-11s %s", Width(), ++shown_, total_, RenderResultName(r.result),
                 TitleToUtf8(e.task.logPath).c_str());
    if (r.result == RenderResult::Rendered) {
      std::fprintf(out_, " -> %s (%.1f s of audio in %.1f s)\n", TitleToUtf8(e.task.outputPath).c_str(),
                   r.audioSeconds, r.wallSeconds);
    } else {
      std::fprintf(out_, ": %s\n", TitleToUtf8(r.reason).c_str());
    }
    std::fflush(out_);
  }

 private:
  int Width() const { return static_cast<int>(std::to_string(total_).size()); }
  std::FILE* out_;
  std::size_t total_;
  std::size_t shown_ = 0;
};

bool PrepareOutputFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
    std::fprintf(stderr, "Can't create the output folder %s : %s\n", TitleToUtf8(folder).c_str(), std::strerror(errno));
    return false;
  }
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    std::fprintf(stderr, "The output folder %s is not a folder\n", TitleToUtf8(folder).c_str());
    return false;
  }
  return true;
}

int RunRender(const RenderOptions& o) {
  if (!PrepareOutputFolder(o.outputFolder)) return 1;
  const Clock::time_point start = Clock::now();
  std::vector<BatchEntry> entries = PlanBatch(o);
  std::FILE* progressOut = o.json ? stderr : stdout;
  ProgressLines progress(progressOut, entries.size());

  std::vector<std::size_t> ready;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].ready) {
      ready.push_back(i);
      entries[i].outcome = {RenderResult::Interrupted, 0, "not started: the batch was interrupted", 0};
    } else {
      progress.Report(entries[i]);
    }
  }

  InterruptFlag interrupt;
  const int jobs = o.jobs > 0 ? o.jobs : static_cast<int>(std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN)));
  RunInWorkerProcesses(
      ready.size(), jobs,
      [&](std::size_t i) {
        const Clock::time_point began = Clock::now();
        RenderOutcome outcome = RenderLog(entries[ready[i]].task, interrupt);
        outcome.wallSeconds = SecondsSince(began);
        return EncodeRenderOutcome(outcome);
      },
      [&](std::size_t i, std::optional<std::string> answer) {
        BatchEntry& e = entries[ready[i]];
        std::optional<RenderOutcome> outcome = answer ? DecodeRenderOutcome(*answer) : std::nullopt;
        e.outcome = outcome ? *outcome : RenderOutcome{RenderResult::Failed, 0, "the worker process died", 0};
        progress.Report(e);
      },
      interrupt);

  const double wall = SecondsSince(start);
  const nlohmann::json summary = SummaryJson(entries, wall);
  double audio = 0;
  for (const BatchEntry& e : entries) audio += e.outcome.audioSeconds;
  std::fprintf(progressOut, "%zu logs: %d rendered, %d failed, %d skipped, %d interrupted; %.1f s of audio in %.1f s\n",
               entries.size(), summary["rendered"].get<int>(), summary["failed"].get<int>(),
               summary["skipped"].get<int>(), summary["interrupted"].get<int>(), audio, wall);
  if (o.json) PrintJson(summary);
  if (summary["failed"].get<int>() > 0) return 1;
  return summary["interrupted"].get<int>() > 0 ? 130 : 0;
}

}  // namespace

void AddRenderCommand(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("render", "Render many SPU logs into WAV or FLAC files on several processes");
  auto o = std::make_shared<RenderOptions>();
  command->add_option("LOG", o->inputs, "SPU logs (.spu or .gz), folders of logs and playlists (.klt)")->required();
  command->add_option("--plugin", o->plugin, "SPU plugin library (.so) with SPUrender")->required();
  command->add_option("-o", o->outputFolder, "Folder for the rendered files (created when missing)")->required();
  command->add_option("--jobs", o->jobs, "Worker processes (default: the number of cores)")
      ->check(CLI::Range(1, 256));
  command->add_option("--seconds", o->seconds, "Render at most this many whole seconds of each log")
      ->check(CLI::Range(1, 1 << 30));
  command->add_option("--format", o->format, "Output format")->check(CLI::IsMember({"wav", "flac"}));
  command->add_option("--name-template", o->nameTemplate,
                      "Output name without extension: {name} the log's name, {dir} its folder, {index} 001...");
  command->add_flag("--stems", o->stems,
                    "Per log, a folder OUTDIR/NAME of NAME.mix, NAME.voiceNN, NAME.reverb and NAME.cd tracks");
  command->add_flag("--overwrite", o->overwrite, "Replace outputs that exist (they are skipped otherwise)");
  command->add_flag("--json", o->json, "Print a JSON summary on standard output (progress goes to standard error)");
  command->callback([o, &status] { status = RunRender(*o); });
}

}  // namespace kestrel::cli
