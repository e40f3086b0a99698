#include "recorder/recorder.h"

#include <cstring>

#include "recorder/recorder_report.h"
#include "abi/spu_registers.h"
#include "spulog/log_format.h"

namespace kestrel::recorder {
namespace {

// Often enough to stop within a tenth of a second, rarely enough to cost nothing.
constexpr std::uint32_t kSilenceCheckSamples = kSampleRate / 10;

bool IsKeyOn(std::uint32_t address, std::uint16_t value) {
  address &= ~1u;
  return value != 0 && (address == spu_reg::kKeyOnLow || address == spu_reg::kKeyOnHigh);
}

RecordItem Event(LogEventCode code) {
  RecordItem item;
  item.code = code;
  return item;
}

}  // namespace

Recorder::Recorder(const RecorderSettings& settings, RecordingWriter& writer, RealPluginProbe probe)
    : start_(settings.start),
      silenceLimit_(settings.stopAfterSilence * kSampleRate),
      writer_(writer),
      probe_(std::move(probe)) {}

void Recorder::Opened() {
  if (phase_ != Phase::Closed) return;
  if (start_ == RecordStart::KeyOn) {
    phase_ = Phase::Armed;
    return;
  }
  Begin(StartImage());
}

void Recorder::Closed() {
  if (phase_ == Phase::Disabled) return;
  if (phase_ == Phase::Recording) End();
  phase_ = Phase::Closed;
}

void Recorder::Advanced(unsigned long cycles) {
  cycles_ += cycles;
  if (phase_ != Phase::Recording || silenceLimit_ == 0) return;
  const std::uint32_t now = Now();
  if (now - lastSilenceCheck_ < kSilenceCheckSamples) return;
  lastSilenceCheck_ = now;
  if (!Silent()) {
    lastSound_ = now;
  } else if (now - lastSound_ >= silenceLimit_) {
    End();
    AfterStop();
  }
}

void Recorder::FreezeLoaded(const FreezeBlock& block) {
  mirror_.Load(block);
  if (phase_ == Phase::Closed || phase_ == Phase::Disabled) return;
  // A loaded state cuts the music: what follows is a recording of its own.
  if (phase_ == Phase::Recording) End();
  if (start_ == RecordStart::Open) {
    Begin(mirror_.Image());
  } else {
    phase_ = Phase::Armed;
  }
}

void Recorder::FreezeSaved(const FreezeBlock& block) {
  if (InOurLayout(block)) mirror_.Load(block);
}

void Recorder::RegisterWritten(std::uint32_t address, std::uint16_t value) {
  if (phase_ == Phase::Armed && IsKeyOn(address, value)) Begin(StartImage());
  if (phase_ == Phase::Recording && IsValidRegisterWrite(address)) {
    if (IsKeyOn(address, value)) lastSound_ = Now();
    RecordItem item = Event(LogEventCode::RegisterWrite);
    item.address = address;
    item.value = value;
    Record(std::move(item));
  }
  mirror_.WriteRegister(address, value);
}

void Recorder::RegisterRead(std::uint32_t address) {
  if (phase_ != Phase::Recording || !IsValidRegisterRead(address)) return;
  RecordItem item = Event(LogEventCode::RegisterRead);
  item.address = address;
  Record(std::move(item));
}

void Recorder::DmaWritten(const std::uint16_t* words, int count) {
  if (words == nullptr || count <= 0) return;
  if (phase_ == Phase::Recording) {
    RecordItem item = Event(LogEventCode::DmaWrite);
    item.words.assign(words, words + count);
    Record(std::move(item));
  }
  mirror_.WriteDma(words, count);
}

void Recorder::DmaRead(int count) {
  if (count <= 0) return;
  if (phase_ == Phase::Recording) {
    RecordItem item = Event(LogEventCode::DmaRead);
    item.count = static_cast<std::uint32_t>(count);
    Record(std::move(item));
  }
  mirror_.ReadDma(count);
}

void Recorder::XaBlock(const void* block) {
  if (phase_ != Phase::Recording || block == nullptr) return;
  lastSound_ = Now();
  RecordItem item = Event(LogEventCode::XaBlock);
  const auto* bytes = static_cast<const std::uint8_t*>(block);
  item.bytes.assign(bytes, bytes + kXaBlockSize);
  Record(std::move(item));
}

void Recorder::CdAudio(const void* pcm, int bytes) {
  // A reader takes the count rounded down to even: an odd last byte would shift every later event.
  const int even = bytes / 2 * 2;
  if (phase_ != Phase::Recording || pcm == nullptr || even <= 0) return;
  lastSound_ = Now();
  RecordItem item = Event(LogEventCode::CdAudio);
  const auto* data = static_cast<const std::uint8_t*>(pcm);
  item.bytes.assign(data, data + even);
  Record(std::move(item));
}

std::vector<std::uint8_t> Recorder::StartImage() const {
  std::vector<std::uint8_t> image = probe_.readBackImage ? probe_.readBackImage() : std::vector<std::uint8_t>{};
  return image.empty() ? mirror_.Image() : image;
}

void Recorder::Begin(std::vector<std::uint8_t> image) {
  startSample_ = static_cast<std::uint32_t>(cycles_ / kCyclesPerSample);
  lastSound_ = 0;
  lastSilenceCheck_ = 0;
  RecordItem item;
  item.kind = RecordItem::Kind::Begin;
  item.bytes = std::move(image);
  writer_.Push(std::move(item), true);
  phase_ = Phase::Recording;
}

void Recorder::End() {
  RecordItem item;
  item.kind = RecordItem::Kind::End;
  item.time = Now();
  writer_.Push(std::move(item), true);
  phase_ = Phase::Waiting;
}

void Recorder::Record(RecordItem item) {
  if (writer_.DiskFailed()) {
    phase_ = Phase::Disabled;  // the writer has said why and closed the log
    return;
  }
  item.time = Now();
  if (!writer_.Push(std::move(item))) {
    Report("recording ended: the disk cannot keep up with the game; nothing more is recorded until SPUinit");
    End();
    phase_ = Phase::Disabled;
  }
}

void Recorder::AfterStop() { phase_ = start_ == RecordStart::KeyOn ? Phase::Armed : Phase::Waiting; }

bool Recorder::Silent() {
  if (!probe_.readRegister) return true;  // then only key-ons and streams count as sound
  for (int v = 0; v < spu_reg::kVoiceCount; ++v) {
    if (probe_.readRegister(spu_reg::Voice(v, spu_reg::kEnvelopeLevel)) != 0) return false;
  }
  return true;
}

}  // namespace kestrel::recorder
