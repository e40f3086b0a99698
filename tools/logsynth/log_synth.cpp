#include "log_synth.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "envelope_rates.h"
#include "initial_state.h"
#include "note_sequencer.h"
#include "sample_memory.h"
#include "abi/spu_registers.h"
#include "stream_blocks.h"

namespace kestrel::logsynth {
namespace {

constexpr double kLongestReleaseTail = 10.0 * 44100;
constexpr double kLongestSong = 30.0 * 60.0 * 44100;  // samples; also keeps times in 32 bits

// Refuses a song or stream that would run past the longest log made, before any of it is built.
std::optional<ScoreError> CheckLength(const Score& score, const SongClock& clock) {
  const auto tooLong = [&](double steps) { return steps * clock.samplesPerStep > kLongestSong; };
  if (tooLong(score.songSteps)) return ScoreError{0, "the song lasts longer than 30 minutes"};
  for (const Stream& stream : score.streams) {
    if (tooLong(static_cast<double>(stream.step) + stream.length)) {
      return ScoreError{stream.line, "the stream ends after 30 minutes"};
    }
  }
  return std::nullopt;
}

// The way a game fills sound RAM: stop transfers, set the address, switch to DMA write,
// send the words, stop again.
void AddUpload(LogScript& script, std::uint32_t time, const PlacedSample& sample, std::uint16_t control) {
  const auto stopped = spu_reg::ControlBits{control}.withTransferMode(spu_reg::kTransferStop).value;
  script.Write(time, Phase::Upload, spu_reg::kControl, stopped);
  script.Write(time, Phase::Upload, spu_reg::kTransferAddress, AddressRegister(sample.address));
  script.Write(time, Phase::Upload, spu_reg::kControl, spu_reg::ControlBits{stopped}.withTransferMode(spu_reg::kDmaWrite).value);
  script.Add({time, Phase::Upload, ScriptEvent::Kind::DmaWrite, 0, 0, sample.adpcm});
  script.Write(time, Phase::Upload, spu_reg::kControl, stopped);
}

std::uint32_t ReleaseTail(const Score& score) {
  double tail = score.tailSeconds * 44100.0;
  for (const Instrument& instrument : score.instruments) {
    tail = std::max(tail, std::min(DurationsOf(instrument.envelope).release, kLongestReleaseTail));
  }
  return static_cast<std::uint32_t>(std::ceil(tail));
}

void WriteEvent(const ScriptEvent& event, SpuLogWriter& writer) {
  switch (event.kind) {
    case ScriptEvent::Kind::RegisterWrite:
      writer.AddRegisterWrite(event.time, event.address, event.value);
      break;
    case ScriptEvent::Kind::DmaWrite: {
      std::vector<std::uint16_t> words(event.data.size() / 2);
      for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = static_cast<std::uint16_t>(event.data[2 * i] | (event.data[2 * i + 1] << 8));
      }
      writer.AddDmaWrite(event.time, words);
      break;
    }
    case ScriptEvent::Kind::XaBlock:
      writer.AddXaBlock(event.time, event.data);
      break;
    case ScriptEvent::Kind::CdAudio:
      writer.AddCdAudio(event.time, event.data);
      break;
  }
}

// The old format has room for register writes only.
std::optional<ScoreError> CheckFormat(const Score& score) {
  if (score.format != LogFileType::Old) return std::nullopt;
  for (const Instrument& i : score.instruments) {
    if (i.placement == SamplePlacement::Dma) {
      return ScoreError{score.formatLine, "the old format holds register writes only: instrument '" + i.name +
                                              "' cannot be uploaded by DMA"};
    }
  }
  if (!score.streams.empty()) return ScoreError{score.formatLine, "the old format holds register writes only: no xa or cd"};
  return std::nullopt;
}

}  // namespace

std::variant<SynthesisedLog, ScoreError> SynthesiseLog(const Score& score, const std::string& scoreFolder) {
  if (auto error = CheckFormat(score)) return *error;
  const SongClock clock(score);
  if (auto error = CheckLength(score, clock)) return *error;
  auto laidOut = LayOutSamples(score, scoreFolder, SampleRamLimit(score));
  if (auto* error = std::get_if<ScoreError>(&laidOut)) return *error;
  const SampleMemory& memory = std::get<SampleMemory>(laidOut);

  LogScript script;
  auto sequenced = SequenceNotes(score, memory, script);
  if (auto* error = std::get_if<ScoreError>(&sequenced)) return *error;
  const SequencedNotes& notes = std::get<SequencedNotes>(sequenced);

  for (const auto& [name, sample] : memory.instruments) {
    if (sample.placement != SamplePlacement::Dma) continue;
    const auto used = notes.firstUse.find(name);
    AddUpload(script, used == notes.firstUse.end() ? 0 : used->second, sample, ControlRegister(score));
  }

  std::uint32_t musicEnd = notes.lastKeyOff;
  for (const Stream& stream : score.streams) {
    const std::uint32_t start = clock.At(stream.step);
    musicEnd = std::max(musicEnd, AddStream(stream, start, clock.At(stream.step + stream.length) - start, script));
  }
  musicEnd = std::max(musicEnd, script.EndTime());

  SynthesisedLog log{SpuLogWriter(score.format), musicEnd + ReleaseTail(score)};
  // A new-format length of exactly 44,100 would read as the old format's marker.
  if (score.format == LogFileType::New && log.totalLength == kOldFormatMarker) ++log.totalLength;
  WriteInitialState(score, memory, log.writer);
  for (const ScriptEvent& event : script.Ordered()) WriteEvent(event, log.writer);
  if (score.format == LogFileType::Old) {
    // The old format's length is its last record's time: end on a write that changes nothing.
    log.writer.AddRegisterWrite(log.totalLength, spu_reg::kMainVolumeLeft, VolumeRegister(score.mainVolume));
  } else {
    log.writer.SetTotalLength(log.totalLength);
  }
  return log;
}

}  // namespace kestrel::logsynth
