#pragma once
// The emulator's side of a recording: when a recording starts and stops, the clock in samples,
// the mirror of the SPU, and the events it hands to the writer thread. Every call runs on the
// emulator's thread before (or, for reads, after) the call is forwarded to the real plugin.

#include <cstdint>
#include <functional>
#include <vector>

#include "plugin/freeze_block.h"
#include "recorder/recorder_settings.h"
#include "recorder/recording_writer.h"
#include "recorder/spu_mirror.h"

namespace kestrel::recorder {

// The real plugin as the recorder asks it: its state in our layout (empty when it cannot give it),
// and a voice's envelope level (null when it has no register reads).
struct RealPluginProbe {
  std::function<std::vector<std::uint8_t>()> readBackImage;
  std::function<std::uint16_t(std::uint32_t address)> readRegister;
};

class Recorder {
 public:
  Recorder(const RecorderSettings& settings, RecordingWriter& writer, RealPluginProbe probe);

  void Opened();
  void Closed();
  void Advanced(unsigned long cycles);
  void FreezeLoaded(const FreezeBlock& block);
  // A save in our layout tells the mirror what the plugin holds.
  void FreezeSaved(const FreezeBlock& block);

  void RegisterWritten(std::uint32_t address, std::uint16_t value);
  void RegisterRead(std::uint32_t address);
  void DmaWritten(const std::uint16_t* words, int count);
  void DmaRead(int count);
  void XaBlock(const void* block);
  void CdAudio(const void* pcm, int bytes);

 private:
  enum class Phase { Closed, Armed, Waiting, Recording, Disabled };

  std::uint32_t Now() const { return static_cast<std::uint32_t>(cycles_ / kCyclesPerSample) - startSample_; }
  // The real plugin's own state when it can give it in our layout, else the mirror's.
  std::vector<std::uint8_t> StartImage() const;
  void Begin(std::vector<std::uint8_t> image);
  void End();
  // Queues an event of the running recording; a full queue or a failed disk ends the recording.
  void Record(RecordItem item);
  void AfterStop();
  bool Silent();

  static constexpr unsigned long long kCyclesPerSample = kestrel::kCyclesPerSample;

  const RecordStart start_;
  const std::uint32_t silenceLimit_;  // samples; 0 never
  RecordingWriter& writer_;
  RealPluginProbe probe_;
  SpuMirror mirror_;
  Phase phase_ = Phase::Closed;
  unsigned long long cycles_ = 0;  // every SPUasync cycle since SPUinit
  std::uint32_t startSample_ = 0;
  std::uint32_t lastSound_ = 0;    // recording time of the last sign of sound
  std::uint32_t lastSilenceCheck_ = 0;
};

}  // namespace kestrel::recorder
