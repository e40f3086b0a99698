// The decode thread: binds the plugin, restores the log's state, renders 32 frames at a
// time into the WAV file and replays the events up to the time reached.

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <variant>

#include "platform/console_log.h"
#include "platform/message_port.h"
#include "decoder/decode_job.h"
#include "decoder/decode_progress.h"
#include "decoder/decode_time.h"
#include "decoder/decoder_events.h"
#include "decoder/wav_output.h"
#include "mixer/register_path.h"
#include "plugin/bound_plugin.h"
#include "plugin/spu_plugin_api.h"
#include "spulog/log_loader.h"
#include "spulog/log_path.h"

namespace kestrel {
namespace {

constexpr int kChunkFrames = 32;
constexpr int kChunkBytes = kChunkFrames * 4;

struct DecodeEnd {
  DecodeOutcome outcome;
  std::optional<Message> message;
  const char* lineAfterMessage = nullptr;
  std::optional<Message> notice = {};  // shown before the message
};

DecodeEnd Refusal(const char* consoleLine, std::string text, const char* caption = "Warning", std::string reason = {}) {
  if (consoleLine != nullptr) ConsoleLog::Write(consoleLine);
  return {DecodeOutcome::Refused,
          Message{std::move(text), caption, MessageIcon::Exclamation, MessageButtons::Ok, std::move(reason)}};
}

// The same file by device and inode, whatever the names or links that lead to it.
bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {}, second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

// What the decode holds, released in reverse order: the output, the log, then the plugin
// (shut down once it was initialised, unloaded, unlocked).
struct DecodeSession {
  BoundPlugin plugin;
  const SpuPluginApi& api = plugin.Api();
  std::optional<LoadedLog> log;
  std::optional<LogEventReader> reader;
  std::unique_ptr<WavOutput> output;
};

std::optional<DecodeEnd> BindDecoderPlugin(DecodeSession& s, const DecodeRequest& request) {
  if (!s.plugin.Bind(request.pluginPath)) {
    return Refusal("* Loading SPU Plugin ..... Failed\n", "Please select the PSX SPU Plugin before starting decode.",
                   "Warning", s.plugin.Error());
  }
  if (s.api.PSEgetLibType == nullptr || s.api.PSEgetLibType() != kSpuPluginType) {
    return Refusal("* Loading SPU Plugin ..... Failed\n", "You must select PSX SPU Plugin.");
  }
  if (s.api.SPUwriteRegister == nullptr || s.api.SPUfreeze == nullptr || s.api.SPUrender == nullptr) {
    return Refusal("* Warning : This plugin doesn't support SPUrender.\n", "Selected Plugin is not supported.");
  }
  return std::nullopt;
}

std::optional<DecodeEnd> LoadDecoderLog(DecodeSession& s, const DecodeRequest& request) {
  if (IsCompressedLogPath(request.logPath)) return Refusal(nullptr, "Can't decode compressed file.");
  LoadResult loaded = LoadSpuLog(request.logPath);
  if (const auto* failure = std::get_if<LoadFailure>(&loaded)) {
    if (*failure == LoadFailure::CannotOpen) {
      std::string reason = "Can't open " + request.logPath + " : " + std::strerror(errno);
      return Refusal("* Loading SPU File ..... Failed\n", "Please select the PSX SPU LogFile before starting decode.",
                     "Warning", std::move(reason));
    }
    // Its counts cannot be trusted: nothing is sized from them.
    return Refusal("* Loading SPU File ..... Failed\n",
                   "Selected SPUFile is broken or is no SPU log; it can't be decoded.");
  }
  s.log.emplace(std::move(std::get<LoadedLog>(loaded)));
  s.reader.emplace(s.log->file, s.log->type);
  return std::nullopt;
}

std::optional<DecodeEnd> OpenOutput(DecodeSession& s, const DecodeRequest& request) {
  std::string path;
  if (request.outputPath) {
    path = *request.outputPath;
  } else {
    if (request.outputName.empty()) {
      return Refusal("* Open Output File ..... Failed\n", "Please input the output FileName.");
    }
    if (request.outputName.find('/') != std::string::npos) {
      return Refusal("* Open Output File ..... Failed\n", "The output FileName must not contain \"/\".");
    }
    path = request.startupFolder + "/wav/" + request.outputName + ".wav";
  }
  std::string error;
  if (SameFile(path, request.logPath)) {
    return Refusal("* Open Output File ..... Failed\n",
                   "Can't create the output file " + path + " : it is the SPU log being decoded.");
  }
  s.output = WavOutput::Create(path, error);
  if (!s.output) {
    return Refusal("* Open Output File ..... Failed\n", "Can't create the output file " + path + " : " + error);
  }
  ConsoleLog::Write("* Open Output File ..... OK\n");
  return std::nullopt;
}

struct RenderResult {
  bool writeFailed = false;
  bool reachedCeiling = false;
};

RenderResult Render(DecodeSession& s, DecodeJob::Shared& job, const DecodeRequest& request,
                    std::int64_t limitSeconds) {
  DecoderEventStream events(*s.reader, s.log->type, s.log->oldFormatCount, &job.decoding);
  const DecodingEvent& switches = TheRegisterPath().decodingEvent;
  DecodeProgress progress;
  MessagePort::PublishProgress({0, 1000, progress.label});
  ConsoleLog::Write("* Starting Decode ..... Please wait\n");

  RenderResult result;
  std::uint64_t frames = 0;
  std::uint64_t elapsedMs = 0;
  std::uint8_t chunk[kChunkBytes];
  const auto limitMs = static_cast<std::uint64_t>(limitSeconds) * 1000;
  while (job.decoding.load(std::memory_order_acquire) && elapsedMs <= limitMs) {
    s.api.SPUrender(chunk, kChunkBytes);
    // The data size is a 32-bit field: stop at the last whole frame that fits.
    const std::uint64_t room = request.maxDataBytes - s.output->DataBytes();
    const auto bytes = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBytes, room / 4 * 4));
    if (!s.output->Write(chunk, bytes)) {
      result.writeFailed = true;
      break;
    }
    if (bytes < static_cast<std::size_t>(kChunkBytes)) {
      result.reachedCeiling = true;
      break;
    }
    frames += kChunkFrames;
    elapsedMs = frames * 1000 / kSampleRate;
    const std::uint64_t target = elapsedMs * kSampleRate / 1000;  // times are 32-bit: the last one holds
    ReplayDecoderEvents(events, s.api, switches, static_cast<std::uint32_t>(std::min<std::uint64_t>(target, UINT32_MAX)));
    if (AdvanceDecodeProgress(progress, elapsedMs, limitSeconds)) {
      MessagePort::PublishProgress({progress.barPosition, 1000, progress.label});
    }
  }
  return result;
}

DecodeEnd Decode(DecodeJob::Shared& job, const DecodeRequest& request) {
  if (!request.outputPath) ::mkdir((request.startupFolder + "/wav").c_str(), 0777);
  DecodeSession s;
  if (auto end = BindDecoderPlugin(s, request)) return *end;
  if (auto end = LoadDecoderLog(s, request)) return *end;

  s.plugin.Init();
  ConsoleLog::Write("* Init SPU ..... OK\n");
  s.api.SPUfreeze(0, s.log->block.get());
  ConsoleLog::Write("* Loading SPU state ..... OK\n");

  // The decoding time is checked before the output is created, so a refused time never
  // truncates an existing file of that name.
  const std::int64_t fullSeconds = static_cast<std::int64_t>(s.log->totalLength) * 1000 / kSampleRate / 1000;
  const std::optional<std::int64_t> limit =
      request.specifyTime ? ParseDecodingTime(request.decodingTime, fullSeconds) : fullSeconds;
  if (!limit) {
    DecodeEnd end = Refusal(nullptr, "Please input the correct value.", "Decoding Time");
    end.lineAfterMessage = "* Checking Decode Time ..... Failed\n";
    return end;
  }
  if (auto end = OpenOutput(s, request)) return *end;
  ConsoleLog::Write("* Checking Decode Time ..... OK\n");

  const RenderResult rendered = Render(s, job, request, *limit);
  const bool aborted = job.abortCount.load(std::memory_order_acquire) != 0;
  if (!aborted && !rendered.writeFailed) MessagePort::PublishProgress({1000, 1000, "100 %"});
  std::optional<Message> notice;
  if (rendered.reachedCeiling) {
    ConsoleLog::Write("* Warning : WAVE file has reached 4 GB; decoding stops there.\n");
    notice = Message{"The WAVE file has reached 4 GB, the most a WAVE file holds; decoding has stopped there.",
                     "WAVE Decoding", MessageIcon::Exclamation};
  }
  const bool finished = s.output->Finish(kSampleRate);
  const std::string outputPath = s.output->Path();
  const std::string error = s.output->Error();
  s.output.reset();

  s.plugin.Shutdown();
  ConsoleLog::Write("* Shutdown SPU ..... OK\n");

  if (rendered.writeFailed || !finished) {
    ConsoleLog::Write("* Warning : Writing the output file has failed.\n");
    return {DecodeOutcome::Failed,
            Message{"WAVE Decoding has failed: can't write " + outputPath + " : " + error, "WAVE Decoding",
                    MessageIcon::Stop}};
  }
  if (aborted) {
    ConsoleLog::Write("* Warning : Decoding has been aborted.\n");
    return {DecodeOutcome::Aborted, Message{"WAVE Decoding has been aborted.", "WAVE Decoding", MessageIcon::Exclamation}};
  }
  ConsoleLog::Write("* Decoding has been successful.\n");
  return {DecodeOutcome::Succeeded,
          Message{"WAVE Decoding has been successful.", "WAVE Decoding", MessageIcon::Information}, nullptr, notice};
}

}  // namespace

DecodeOutcome DecodeThread(DecodeJob::Shared& job, const DecodeRequest& request) {
  const DecodeEnd end = Decode(job, request);  // everything is released here
  job.decoding.store(false, std::memory_order_release);
  if (end.notice) MessagePort::Show(*end.notice);
  if (end.message) MessagePort::Show(*end.message);
  if (end.lineAfterMessage != nullptr) ConsoleLog::Write(end.lineAfterMessage);
  MessagePort::PublishProgress({0, 1000, ProgressLabel(0)});
  return end.outcome;
}

}  // namespace kestrel
