#pragma once
// One log of a batch render, run in a worker process of its own.

#include <optional>
#include <string>

#include "cli/terminal.h"

namespace kestrel::cli {

enum class RenderFormat { Wav, Flac };

struct RenderTask {
  std::string logPath;
  std::string outputPath;  // the finished file
  std::string pluginPath;
  RenderFormat format = RenderFormat::Wav;
  std::optional<int> seconds;  // at most this many; a shorter log renders whole
  bool overwrite = false;
  // The output is then a folder of NAME.mix and per-source tracks (as decode --stems writes them).
  bool stems = false;
};

enum class RenderResult { Rendered, Failed, Skipped, Interrupted };

struct RenderOutcome {
  RenderResult result = RenderResult::Failed;
  double audioSeconds = 0;
  std::string reason;  // why it failed or was skipped
  double wallSeconds = 0;
};

const char* RenderResultName(RenderResult result);

// Renders into a temporary file beside the output and puts it in place only when complete,
// never over an existing file unless `overwrite`: an interrupted or failed render leaves
// nothing behind and no finished file is ever replaced by a partial one.
RenderOutcome RenderLog(const RenderTask& task, const InterruptFlag& interrupt);

// The outcome as the worker sends it back, and read again by the batch.
std::string EncodeRenderOutcome(const RenderOutcome& outcome);
std::optional<RenderOutcome> DecodeRenderOutcome(const std::string& text);

}  // namespace kestrel::cli
