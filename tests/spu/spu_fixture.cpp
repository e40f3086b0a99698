#include "spu_fixture.h"

#include <cmath>
#include <numbers>

#include "spu/adpcm.h"
#include "spu/registers.h"

namespace kestrel::spu::testing {

std::vector<std::int16_t> SineCycles(int period, int periods, double amplitude) {
  std::vector<std::int16_t> pcm(static_cast<std::size_t>(period) * periods);
  for (std::size_t i = 0; i < pcm.size(); ++i)
    pcm[i] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * double(i) / period)));
  return pcm;
}

std::uint16_t UploadSample(Spu& spu, std::span<const std::int16_t> pcm, int loopStart, std::uint16_t units) {
  const std::vector<std::uint8_t> adpcm = EncodeAdpcm(pcm, loopStart);
  std::vector<std::uint16_t> words(adpcm.size() / 2);
  for (std::size_t i = 0; i < words.size(); ++i)
    words[i] = static_cast<std::uint16_t>(adpcm[2 * i] | (adpcm[2 * i + 1] << 8));
  spu.writeRegister(reg::kTransferAddress, units);
  spu.writeDma(words.data(), static_cast<int>(words.size()));
  return units;
}

void PowerUp(Spu& spu) {
  spu.writeRegister(reg::kControl, 0xC000);
  spu.writeRegister(reg::kMainVolumeLeft, 0x3FFF);
  spu.writeRegister(reg::kMainVolumeRight, 0x3FFF);
}

void SetUpVoice(Spu& spu, int voice, std::uint16_t start, std::uint16_t pitch, std::uint16_t adsrLow,
                std::uint16_t adsrHigh) {
  spu.writeRegister(reg::Voice(voice, reg::kVolumeLeft), 0x3FFF);
  spu.writeRegister(reg::Voice(voice, reg::kVolumeRight), 0x3FFF);
  spu.writeRegister(reg::Voice(voice, reg::kPitch), pitch);
  spu.writeRegister(reg::Voice(voice, reg::kStartAddress), start);
  spu.writeRegister(reg::Voice(voice, reg::kAdsrLow), adsrLow);
  spu.writeRegister(reg::Voice(voice, reg::kAdsrHigh), adsrHigh);
}

void KeyOn(Spu& spu, std::uint32_t mask) {
  spu.writeRegister(reg::kKeyOnLow, static_cast<std::uint16_t>(mask));
  spu.writeRegister(reg::kKeyOnHigh, static_cast<std::uint16_t>(mask >> 16));
}

std::vector<std::int16_t> RenderLeft(Spu& spu, int frames) {
  std::vector<std::int16_t> stereo(2 * static_cast<std::size_t>(frames));
  spu.render(stereo.data(), frames);
  std::vector<std::int16_t> left(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i) left[i] = stereo[2 * i];
  return left;
}

double MeasureFrequency(std::span<const std::int16_t> samples) {
  double first = -1, last = -1;
  int crossings = 0;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    if (samples[i - 1] < 0 && samples[i] >= 0) {
      const double at = double(i - 1) + double(-samples[i - 1]) / double(samples[i] - samples[i - 1]);
      if (first < 0) first = at;
      last = at;
      ++crossings;
    }
  }
  if (crossings < 2) return 0;
  return (crossings - 1) * 44100.0 / (last - first);
}

}  // namespace kestrel::spu::testing
