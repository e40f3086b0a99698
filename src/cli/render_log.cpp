#include "cli/render_log.h"

#include <stdio.h>  // renameat2
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/decode_run.h"
#include "cli/flac_output.h"
#include "decoder/stem_outputs.h"
#include "decoder/wav_header.h"
#include "platform/message_port.h"
#include "spulog/log_length.h"

namespace kestrel::cli {
namespace {

constexpr RenderResult kResults[] = {RenderResult::Rendered, RenderResult::Failed, RenderResult::Skipped,
                                     RenderResult::Interrupted};

// A finished file replaces nothing unless asked to: the no-replace rename is atomic, so two
// renders racing for one name cannot both win.
bool Rename(const std::string& from, const std::string& to, bool overwrite) {
  if (overwrite) return ::rename(from.c_str(), to.c_str()) == 0;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL) return false;
  // A file system without the flag: link, then unlink (files only; a folder is not linked).
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

// A folder of stems replaces an existing one file by file: the tracks it holds are new, the
// others stay.
bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PutInPlace(const std::string& from, const std::string& to, bool overwrite, bool& exists, std::string& error) {
  if (Rename(from, to, false)) return true;
  int failure = errno;
  if (overwrite && failure == EEXIST) {
    bool moved = true;
    if (IsFolder(from) && IsFolder(to)) {
      std::error_code failed;
      for (const auto& entry : std::filesystem::directory_iterator(from, failed)) {
        moved = moved && Rename(entry.path().string(), to + "/" + entry.path().filename().string(), true);
      }
      moved = moved && !failed && ::rmdir(from.c_str()) == 0;
    } else {
      moved = Rename(from, to, true);
    }
    if (moved) return true;
    failure = errno;
  }
  exists = failure == EEXIST;
  error = exists ? to + " exists (--overwrite replaces it)" : "can't write " + to + " : " + std::strerror(failure);
  return false;
}

// Every WAV file of a folder of stems becomes a FLAC file.
bool EncodeFolderAsFlac(const std::string& folder, std::string& error) {
  std::error_code failed;
  for (const auto& entry : std::filesystem::directory_iterator(folder, failed)) {
    const std::filesystem::path wav = entry.path();
    if (wav.extension() != ".wav") continue;
    std::filesystem::path flac = wav;
    flac.replace_extension(".flac");
    if (!WriteFlacCopy(wav.string(), flac.string(), error)) return false;
    ::unlink(wav.c_str());
  }
  if (failed) error = "can't read " + folder + " : " + failed.message();
  return !failed;
}

RenderOutcome Failure(RenderResult result, std::string reason) { return {result, 0, std::move(reason), 0}; }

// At most the asked seconds, never more than the log holds (the decoder refuses more).
void LimitSeconds(const RenderTask& task, DecodeRequest& request) {
  if (!task.seconds) return;
  const std::optional<LogLength> length = ReadLogLength(task.logPath);
  const std::int64_t full = length ? static_cast<std::int64_t>(length->totalLength) * 1000 / kSampleRate / 1000 : 0;
  if (*task.seconds > full) return;
  request.specifyTime = true;
  request.decodingTime = std::to_string(*task.seconds);
}

}  // namespace

const char* RenderResultName(RenderResult result) {
  switch (result) {
    case RenderResult::Rendered: return "rendered";
    case RenderResult::Failed: return "failed";
    case RenderResult::Skipped: return "skipped";
    case RenderResult::Interrupted: return "interrupted";
  }
  return "failed";
}

RenderOutcome RenderLog(const RenderTask& task, const InterruptFlag& interrupt) {
  // A single file, or with stems a folder of them, made under a temporary name beside the output.
  const std::string temporary = task.outputPath + "." + std::to_string(::getpid()) + ".render";
  DecodeRequest request;
  request.pluginPath = task.pluginPath;
  request.logPath = task.logPath;
  request.allowCompressed = true;
  std::string wav = temporary + ".wav";
  std::string finished = wav;
  if (task.stems) {
    if (::mkdir(temporary.c_str(), 0777) != 0) {
      return Failure(RenderResult::Failed, "can't create " + temporary + " : " + std::strerror(errno));
    }
    request.stemsFolder = finished = temporary;
    request.outputName = std::filesystem::path(task.outputPath).filename().string();
    wav = StemPath(temporary, request.outputName, "mix");
  } else {
    request.outputPath = wav;
  }
  LimitSeconds(task, request);

  std::string message;
  MessagePort::SetHandler([&message](const Message& m) {
    if (m.icon != MessageIcon::Information) message = TerminalText(m);
    return MessageAnswer::Ok;
  });
  const DecodeOutcome decoded = DecodeUntilDone(std::move(request), interrupt);
  struct stat info {};
  const double seconds =
      ::stat(wav.c_str(), &info) == 0 ? static_cast<double>(info.st_size - kWavHeaderSize) / (4.0 * kSampleRate) : 0;
  // Whatever goes wrong from here, nothing half-made stays behind.
  auto failure = [&finished](RenderResult result, std::string reason) {
    std::error_code ignored;
    std::filesystem::remove_all(finished, ignored);
    return Failure(result, std::move(reason));
  };
  if (decoded != DecodeOutcome::Succeeded) {
    // An aborted decode keeps what it rendered; a batch keeps only whole logs.
    if (decoded == DecodeOutcome::Aborted) return failure(RenderResult::Interrupted, "interrupted");
    return failure(RenderResult::Failed, message.empty() ? "decoding failed" : message);
  }

  std::string error;
  if (task.format == RenderFormat::Flac) {
    if (task.stems) {
      if (!EncodeFolderAsFlac(temporary, error)) return failure(RenderResult::Failed, error);
    } else {
      finished = temporary + ".flac";
      const bool encoded = WriteFlacCopy(wav, finished, error);
      ::unlink(wav.c_str());
      if (!encoded) return failure(RenderResult::Failed, error);
    }
  }
  bool exists = false;
  if (!PutInPlace(finished, task.outputPath, task.overwrite, exists, error)) {
    return failure(exists ? RenderResult::Skipped : RenderResult::Failed, error);
  }
  return {RenderResult::Rendered, seconds, {}, 0};
}

std::string EncodeRenderOutcome(const RenderOutcome& outcome) {
  return nlohmann::json{{"result", RenderResultName(outcome.result)},
                        {"audioSeconds", outcome.audioSeconds},
                        {"reason", outcome.reason},
                        {"wallSeconds", outcome.wallSeconds}}
      .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<RenderOutcome> DecodeRenderOutcome(const std::string& text) {
  const nlohmann::json value = nlohmann::json::parse(text, nullptr, false);
  if (!value.is_object()) return std::nullopt;
  RenderOutcome outcome;
  const std::string result = value.value("result", "");
  for (RenderResult r : kResults) {
    if (result == RenderResultName(r)) outcome.result = r;
  }
  outcome.audioSeconds = value.value("audioSeconds", 0.0);
  outcome.reason = value.value("reason", "");
  outcome.wallSeconds = value.value("wallSeconds", 0.0);
  return outcome;
}

}  // namespace kestrel::cli
