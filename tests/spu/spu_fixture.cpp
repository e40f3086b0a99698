#include "spu_fixture.h"

#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

#include "adpcm_encoder.h"
#include "spu/adpcm.h"
#include "spu/cd_input.h"
#include "abi/spu_registers.h"

namespace kestrel::spu::testing {

std::vector<std::int16_t> SineCycles(int period, int periods, double amplitude) {
  std::vector<std::int16_t> pcm(static_cast<std::size_t>(period) * periods);
  for (std::size_t i = 0; i < pcm.size(); ++i)
    pcm[i] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * double(i) / period)));
  return pcm;
}

std::uint16_t UploadSample(Spu& spu, std::span<const std::int16_t> pcm, int loopStart, std::uint16_t units) {
  const std::vector<std::uint8_t> adpcm = logsynth::EncodeAdpcm(pcm, loopStart);
  std::vector<std::uint16_t> words(adpcm.size() / 2);
  for (std::size_t i = 0; i < words.size(); ++i)
    words[i] = static_cast<std::uint16_t>(adpcm[2 * i] | (adpcm[2 * i + 1] << 8));
  spu.writeRegister(spu_reg::kTransferAddress, units);
  spu.writeDma(words.data(), static_cast<int>(words.size()));
  return units;
}

void PowerUp(Spu& spu) {
  spu.writeRegister(spu_reg::kControl, 0xC000);
  spu.writeRegister(spu_reg::kMainVolumeLeft, 0x3FFF);
  spu.writeRegister(spu_reg::kMainVolumeRight, 0x3FFF);
}

void SetUpVoice(Spu& spu, int voice, std::uint16_t start, std::uint16_t pitch, std::uint16_t adsrLow,
                std::uint16_t adsrHigh) {
  spu.writeRegister(spu_reg::Voice(voice, spu_reg::kVolumeLeft), 0x3FFF);
  spu.writeRegister(spu_reg::Voice(voice, spu_reg::kVolumeRight), 0x3FFF);
  spu.writeRegister(spu_reg::Voice(voice, spu_reg::kPitch), pitch);
  spu.writeRegister(spu_reg::Voice(voice, spu_reg::kStartAddress), start);
  spu.writeRegister(spu_reg::Voice(voice, spu_reg::kAdsrLow), adsrLow);
  spu.writeRegister(spu_reg::Voice(voice, spu_reg::kAdsrHigh), adsrHigh);
}

void KeyOn(Spu& spu, std::uint32_t mask) {
  spu.writeRegister(spu_reg::kKeyOnLow, static_cast<std::uint16_t>(mask));
  spu.writeRegister(spu_reg::kKeyOnHigh, static_cast<std::uint16_t>(mask >> 16));
}

std::vector<std::int16_t> RenderLeft(Spu& spu, int frames) {
  std::vector<std::int16_t> stereo(2 * static_cast<std::size_t>(frames));
  spu.render(stereo.data(), frames);
  std::vector<std::int16_t> left(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i) left[i] = stereo[2 * i];
  return left;
}

void LoadHallReverb(Spu& spu) {
  constexpr std::array<std::uint16_t, 32> kHall = {
      0x01A5, 0x0139, 0x6000, 0x5000, 0x4C00, 0xB800, 0xBC00, 0xC000, 0x6000, 0x5C00, 0x15BA,
      0x11BB, 0x14C2, 0x10BD, 0x11BC, 0x0DC1, 0x11C0, 0x0DC3, 0x0DC0, 0x09C1, 0x0BC4, 0x07C1,
      0x0A00, 0x06CD, 0x09C2, 0x05C1, 0x05C0, 0x041A, 0x0274, 0x013A, 0x8000, 0x8000};
  constexpr std::uint32_t kHallBytes = 0xADE0;
  for (int i = 0; i < 32; ++i) spu.writeRegister(spu_reg::kReverbFirst + 2 * i, kHall[i]);
  spu.writeRegister(spu_reg::kReverbBase, static_cast<std::uint16_t>((0x80000 - kHallBytes) / 8));
}

std::vector<std::uint8_t> XaBlock(int frequency, bool stereo, const std::vector<std::int16_t>& samples) {
  std::vector<std::uint8_t> block(kXaBlockBytes, 0);
  const std::int32_t header[4] = {frequency, 16, stereo ? 1 : 0,
                                  static_cast<std::int32_t>(samples.size() / (stereo ? 2 : 1))};
  std::memcpy(block.data(), header, sizeof header);
  if (!samples.empty()) std::memcpy(block.data() + 32, samples.data(), samples.size() * 2);
  return block;
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
