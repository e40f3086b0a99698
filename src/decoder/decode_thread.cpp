// The decode thread: binds the plugin, restores the log's state, renders 32 frames at a
// time into the WAV file and replays the events up to the time reached.

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <variant>
#include <vector>

#include "abi/spu_stems.h"
#include "platform/console_log.h"
#include "platform/message_port.h"
#include "decoder/decode_job.h"
#include "decoder/decode_progress.h"
#include "decoder/decode_time.h"
#include "decoder/decoder_events.h"
#include "decoder/stem_outputs.h"
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
  std::unique_ptr<StemOutputs> stems;
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
  if (!request.allowCompressed && IsCompressedLogPath(request.logPath)) {
    return Refusal(nullptr, "Can't decode compressed file.");
  }
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
    path = request.stemsFolder ? StemPath(*request.stemsFolder, request.outputName, "mix")
                               : request.startupFolder + "/wav/" + request.outputName + ".wav";
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

// One rendering pass over the log from its recorded state: how a chunk is rendered and where it goes.
struct Pass {
  stems_abi::RenderStems renderStems = nullptr;  // when null, SPUrender without tracks
  ChannelMixer* mixer = nullptr;                 // the voices it mutes stay muted for the pass
  std::function<bool(const std::uint8_t* mix, const std::int16_t* tracks, std::size_t bytes)> write;
};

struct RenderResult {
  bool writeFailed = false;
  bool reachedCeiling = false;
  std::uint32_t keyedOnVoices = 0;
  std::string failure;  // why a failed pass failed, when its output does not say
};

RenderResult Render(DecodeSession& s, DecodeJob::Shared& job, const DecodeRequest& request,
                    std::int64_t limitSeconds, const Pass& pass) {
  DecoderEventStream events(*s.reader, s.log->type, s.log->oldFormatCount, &job.decoding);
  events.RouteVolumesThrough(pass.mixer);
  const DecodingEvent& switches = TheRegisterPath().decodingEvent;
  DecodeProgress progress;
  MessagePort::PublishProgress({0, 1000, progress.label});
  ConsoleLog::Write("* Starting Decode ..... Please wait\n");

  RenderResult result;
  std::uint64_t frames = 0;
  std::uint64_t elapsedMs = 0;
  std::uint8_t chunk[kChunkBytes];
  std::int16_t tracks[stems_abi::kTrackCount * kChunkBytes / 2];
  std::uint64_t written = 0;
  const auto limitMs = static_cast<std::uint64_t>(limitSeconds) * 1000;
  while (job.decoding.load(std::memory_order_acquire) && elapsedMs <= limitMs) {
    if (pass.renderStems != nullptr) {
      pass.renderStems(chunk, kChunkBytes, tracks);
    } else {
      s.api.SPUrender(chunk, kChunkBytes);
    }
    // The data size is a 32-bit field: stop at the last whole frame that fits.
    const std::uint64_t room = request.maxDataBytes - written;
    const auto bytes = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBytes, room / 4 * 4));
    if (!pass.write(chunk, tracks, bytes)) {
      result.writeFailed = true;
      break;
    }
    written += bytes;
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
  result.keyedOnVoices = events.KeyedOnVoices();
  return result;
}

// Back to the log's recorded state for another pass, with `mixer`'s mutes applied to it; false
// when the log no longer loads (changed or gone since the first pass).
bool RestartFromRecordedState(DecodeSession& s, const DecodeRequest& request, ChannelMixer& mixer) {
  s.plugin.Shutdown();
  s.reader.reset();
  s.log.reset();
  if (LoadDecoderLog(s, request)) return false;
  s.plugin.Init();
  s.api.SPUfreeze(0, s.log->block.get());
  SeedRememberedVolumes(mixer, *s.log->block);
  mixer.changed.store(true, std::memory_order_release);
  ApplyChannelMixer(mixer, [&](std::uint32_t address, std::uint16_t value) { s.api.SPUwriteRegister(address, value); });
  return true;
}

// The voices that sound at the start (a live envelope) or are keyed on by the log.
std::uint32_t SoundingVoices(const FreezeBlock& block, std::uint32_t keyedOn) {
  std::uint32_t voices = keyedOn;
  for (int v = 0; v < spu_reg::kVoiceCount; ++v)
    if (RegisterFromImage(block, spu_reg::VoiceEnvelope(v)) != 0) voices |= 1u << v;
  return voices;
}

// A plugin without its own stems: after the mix, one pass with every voice muted gives the CD
// track, then one pass per sounding voice, each unmuting one voice more; a voice's track is what
// its pass adds to the one before. So the tracks add up to the mix as they do with our plugin, but
// a voice's reverb stays in its track and there is no reverb track.
RenderResult RenderVoicePasses(DecodeSession& s, DecodeJob::Shared& job, const DecodeRequest& request,
                               std::int64_t limitSeconds, std::uint32_t sounding) {
  std::vector<std::int16_t> previous;  // the last pass, sample by sample
  std::uint32_t unmuted = 0;
  RenderResult result;
  std::vector<int> order = {stems_abi::kCdTrack};
  for (int v = 0; v < stems_abi::kVoiceTracks; ++v)
    if (sounding & (1u << v)) order.push_back(v);
  for (const int track : order) {
    if (track != stems_abi::kCdTrack) unmuted |= 1u << track;
    if (!job.decoding.load(std::memory_order_acquire)) break;
    ChannelMixer mixer;
    for (int v = 0; v < spu_reg::kVoiceCount; ++v) mixer.mute[v] = (unmuted & (1u << v)) == 0;
    if (!RestartFromRecordedState(s, request, mixer)) {
      result.writeFailed = true;
      result.failure = "can't load " + request.logPath + " again for the next voice";
      break;
    }
    std::size_t at = 0;
    Pass pass;
    pass.mixer = &mixer;
    pass.write = [&](const std::uint8_t* mix, const std::int16_t*, std::size_t bytes) {
      std::int16_t added[kChunkBytes / 2];
      const std::size_t samples = bytes / 2;
      if (previous.size() < at + samples) previous.resize(at + samples, 0);
      for (std::size_t i = 0; i < samples; ++i) {
        const auto now = static_cast<std::int16_t>(mix[2 * i] | (mix[2 * i + 1] << 8));
        added[i] = static_cast<std::int16_t>(std::clamp(now - previous[at + i], -0x8000, 0x7FFF));
        previous[at + i] = now;
      }
      at += samples;
      return s.stems->Write(track, added, bytes);
    };
    result = Render(s, job, request, limitSeconds, pass);
    if (result.writeFailed) break;
  }
  return result;
}

// The tracks beside the mix; refused (nothing written) when one cannot be created.
std::optional<DecodeEnd> OpenStems(DecodeSession& s, const DecodeRequest& request, bool oneRenderPass) {
  std::uint32_t tracks = (1u << stems_abi::kTrackCount) - 1;
  if (!oneRenderPass) tracks &= ~(1u << stems_abi::kReverbTrack);
  std::string error;
  s.stems = StemOutputs::Create(*request.stemsFolder, request.outputName, tracks, error);
  if (!s.stems) return Refusal("* Open Output File ..... Failed\n", error);
  return std::nullopt;
}

// Silence for the voice tracks no pass wrote, so that with every track asked for all have the mix's length.
bool FillUnwrittenVoices(StemOutputs& stems, std::uint32_t written, std::uint32_t dataBytes) {
  static const std::int16_t kSilence[kChunkBytes / 2] = {};
  for (int v = 0; v < stems_abi::kVoiceTracks; ++v) {
    if (written & (1u << v)) continue;
    for (std::uint32_t done = 0; done < dataBytes; done += kChunkBytes)
      if (!stems.Write(v, kSilence, std::min<std::uint32_t>(kChunkBytes, dataBytes - done))) return false;
  }
  return true;
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
  const auto renderStems = request.stemsFolder && !request.voicePasses ? s.plugin.Library().Entry<stems_abi::RenderStems>(
                                                     stems_abi::kRenderStemsName)
                                               : nullptr;
  if (request.stemsFolder) {
    if (auto end = OpenStems(s, request, renderStems != nullptr)) return *end;
    if (renderStems == nullptr) {
      ConsoleLog::Write("* Stems : one pass per sounding voice ..... Please wait\n");
      MessagePort::Show({"This plugin renders no stems of its own: each sounding voice takes a pass of its own "
                         "with the other voices muted through the channel mixer, its reverb stays in its stem, "
                         "and no reverb stem is written.",
                         "WAVE Decoding", MessageIcon::Information});
    }
  }
  ConsoleLog::Write("* Checking Decode Time ..... OK\n");

  Pass mixPass;
  mixPass.renderStems = renderStems;
  mixPass.write = [&](const std::uint8_t* mix, const std::int16_t* tracks, std::size_t bytes) {
    return s.output->Write(mix, bytes) && (renderStems == nullptr || s.stems->WriteAll(tracks, bytes));
  };
  RenderResult rendered = Render(s, job, request, *limit, mixPass);
  bool aborted = job.abortCount.load(std::memory_order_acquire) != 0;
  if (s.stems && renderStems == nullptr && !aborted && !rendered.writeFailed) {
    const std::uint32_t sounding = SoundingVoices(*s.log->block, rendered.keyedOnVoices);
    const bool ceiling = rendered.reachedCeiling;
    rendered = RenderVoicePasses(s, job, request, *limit, sounding);
    rendered.reachedCeiling = ceiling;
    if (!rendered.writeFailed && request.allStems)
      rendered.writeFailed = !FillUnwrittenVoices(*s.stems, sounding, s.output->DataBytes());
    aborted = job.abortCount.load(std::memory_order_acquire) != 0;
  }
  if (!aborted && !rendered.writeFailed) MessagePort::PublishProgress({1000, 1000, "100 %"});
  std::optional<Message> notice;
  if (rendered.reachedCeiling) {
    ConsoleLog::Write("* Warning : WAVE file has reached 4 GB; decoding stops there.\n");
    notice = Message{"The WAVE file has reached 4 GB, the most a WAVE file holds; decoding has stopped there.",
                     "WAVE Decoding", MessageIcon::Exclamation};
  }
  // An aborted decode keeps what the mix has; its tracks may be cut short or missing, so they go.
  bool finished = s.output->Finish(kSampleRate);
  std::string failure = "can't write " + s.output->Path() + " : " + s.output->Error();
  if (s.stems && finished && !aborted && !rendered.writeFailed) finished = s.stems->Finish(kSampleRate, request.allStems);
  if (s.stems && !s.stems->Error().empty()) failure = s.stems->Error();
  if (!rendered.failure.empty()) failure = rendered.failure;
  s.output.reset();
  s.stems.reset();

  s.plugin.Shutdown();
  ConsoleLog::Write("* Shutdown SPU ..... OK\n");

  if (rendered.writeFailed || !finished) {
    ConsoleLog::Write("* Warning : Writing the output file has failed.\n");
    return {DecodeOutcome::Failed,
            Message{"WAVE Decoding has failed: " + failure, "WAVE Decoding",
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
