#include "sample_memory.h"

#include <array>

#include "instrument_samples.h"
#include "adpcm_encoder.h"
#include "spu/adpcm.h"
#include "abi/spu_registers.h"

namespace kestrel::logsynth {

std::variant<SampleMemory, ScoreError> LayOutSamples(const Score& score, const std::string& scoreFolder,
                                                     std::uint32_t limit) {
  SampleMemory memory;
  std::uint32_t next = spu_reg::kCaptureAreaBytes;
  const std::array<std::int16_t, spu::kAdpcmSamplesPerBlock> silence{};
  memory.silentAdpcm = EncodeAdpcm(silence, 0);
  memory.silentBlock = next;
  next += static_cast<std::uint32_t>(memory.silentAdpcm.size());

  for (const Instrument& instrument : score.instruments) {
    auto made = MakeInstrumentSample(instrument, scoreFolder);
    if (auto* error = std::get_if<ScoreError>(&made)) return *error;
    const auto& sample = std::get<InstrumentSample>(made);
    PlacedSample placed;
    placed.adpcm = EncodeAdpcm(sample.pcm, sample.loopStart);
    placed.address = next;
    placed.sampleRate = sample.sampleRate;
    placed.recordedHz = sample.recordedHz;
    placed.placement = instrument.placement;
    next += static_cast<std::uint32_t>(placed.adpcm.size());
    if (next > limit) {
      return ScoreError{instrument.line, "instrument '" + instrument.name + "' does not fit in sound RAM (" +
                                             std::to_string(next - limit) + " bytes too many" +
                                             (score.reverb.preset.empty() ? "" : " beside the reverb area") + ")"};
    }
    memory.instruments.emplace(instrument.name, std::move(placed));
  }
  return memory;
}

}  // namespace kestrel::logsynth
