#include "cli/render_log.h"

#include <stdio.h>  // renameat2
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>

#include "cli/decode_run.h"
#include "cli/flac_output.h"
#include "decoder/wav_header.h"
#include "platform/message_port.h"
#include "spulog/log_length.h"

namespace kestrel::cli {
namespace {

constexpr RenderResult kResults[] = {RenderResult::Rendered, RenderResult::Failed, RenderResult::Skipped,
                                     RenderResult::Interrupted};

// A finished file replaces nothing unless asked to: the no-replace rename is atomic, so two
// renders racing for one name cannot both win.
bool PutInPlace(const std::string& from, const std::string& to, bool overwrite, std::string& error) {
  int result = overwrite ? ::rename(from.c_str(), to.c_str())
                         : ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
  if (result != 0 && !overwrite && errno == EINVAL) {  // a file system without the flag: link, then unlink
    result = ::link(from.c_str(), to.c_str());
    if (result == 0) ::unlink(from.c_str());
  }
  if (result == 0) return true;
  error = errno == EEXIST ? to + " exists (--overwrite replaces it)" : "can't write " + to + " : " + std::strerror(errno);
  return false;
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
  const std::string temporary = task.outputPath + "." + std::to_string(::getpid()) + ".render";
  const std::string wav = temporary + ".wav";
  DecodeRequest request;
  request.pluginPath = task.pluginPath;
  request.logPath = task.logPath;
  request.allowCompressed = true;
  request.outputPath = wav;
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
  if (decoded != DecodeOutcome::Succeeded) {
    ::unlink(wav.c_str());  // an aborted decode keeps what it rendered; a batch keeps only whole logs
    if (decoded == DecodeOutcome::Aborted) return Failure(RenderResult::Interrupted, "interrupted");
    return Failure(RenderResult::Failed, message.empty() ? "decoding failed" : message);
  }

  std::string error;
  std::string finished = wav;
  if (task.format == RenderFormat::Flac) {
    finished = temporary + ".flac";
    const bool encoded = WriteFlacCopy(wav, finished, error);
    ::unlink(wav.c_str());
    if (!encoded) return Failure(RenderResult::Failed, error);
  }
  if (!PutInPlace(finished, task.outputPath, task.overwrite, error)) {
    const bool exists = errno == EEXIST;
    ::unlink(finished.c_str());
    return Failure(exists ? RenderResult::Skipped : RenderResult::Failed, error);
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
