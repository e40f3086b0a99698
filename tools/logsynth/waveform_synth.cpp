#include "waveform_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrel::logsynth {
namespace {

constexpr double kPeak = 0.9 * 32767.0;
constexpr double kRate = 44100.0;

// Amplitude of harmonic k (1-based) of a waveform's Fourier series.
double HarmonicAmplitude(Waveform waveform, int k) {
  switch (waveform) {
    case Waveform::Square: return k % 2 == 1 ? 1.0 / k : 0.0;
    case Waveform::Saw: return (k % 2 == 1 ? 1.0 : -1.0) / k;
    case Waveform::Triangle: return k % 2 == 1 ? ((k / 2) % 2 == 0 ? 1.0 : -1.0) / (k * k) : 0.0;
    default: return k == 1 ? 1.0 : 0.0;
  }
}

std::vector<std::int16_t> Normalise(const std::vector<double>& wave) {
  double peak = 0;
  for (const double v : wave) peak = std::max(peak, std::abs(v));
  const double gain = peak > 0 ? kPeak / peak : 0.0;
  std::vector<std::int16_t> out(wave.size());
  std::transform(wave.begin(), wave.end(), out.begin(),
                 [gain](double v) { return static_cast<std::int16_t>(std::lround(v * gain)); });
  return out;
}

// A small fixed-seed generator: the same demo logs on every build.
class NoiseSource {
 public:
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
  }

 private:
  std::uint32_t state_ = 0x4B455354;
};

}  // namespace

bool IsTonal(Waveform waveform) {
  return waveform == Waveform::Sine || waveform == Waveform::Square ||
         waveform == Waveform::Saw || waveform == Waveform::Triangle;
}

std::vector<std::int16_t> SynthesiseCycle(Waveform waveform, int length, int harmonics) {
  std::vector<double> wave(static_cast<std::size_t>(length), 0.0);
  for (int k = 1; k <= harmonics; ++k) {
    const double amplitude = HarmonicAmplitude(waveform, k);
    if (amplitude == 0.0) continue;
    // Lanczos sigma factors soften the ringing of a cut-off series.
    const double x = std::numbers::pi * k / (harmonics + 1);
    const double sigma = std::sin(x) / x;
    for (int i = 0; i < length; ++i) {
      wave[static_cast<std::size_t>(i)] +=
          amplitude * sigma * std::sin(2.0 * std::numbers::pi * k * i / length);
    }
  }
  return Normalise(wave);
}

std::vector<std::int16_t> SynthesiseOneShot(Waveform waveform, double seconds) {
  NoiseSource noise;
  const double ownLength = waveform == Waveform::Kick    ? 0.35
                           : waveform == Waveform::Snare ? 0.25
                           : waveform == Waveform::Hat   ? 0.09
                                                         : 0.5;
  const double length = seconds > 0 ? seconds : ownLength;
  const auto count = static_cast<std::size_t>(length * kRate);
  std::vector<double> wave(count, 0.0);
  double phase = 0;
  double previous = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double fade = 1.0 - static_cast<double>(i) / static_cast<double>(count);  // ends at zero
    switch (waveform) {
      case Waveform::Kick: {
        // A sine falling from 160 Hz to 45 Hz, with a short click at the start.
        const double frequency = 45.0 + 115.0 * std::exp(-t * 30.0);
        phase += 2.0 * std::numbers::pi * frequency / kRate;
        wave[i] = (std::sin(phase) * std::exp(-t * 9.0) + 0.3 * noise.Next() * std::exp(-t * 400.0)) * fade;
        break;
      }
      case Waveform::Snare: {
        phase += 2.0 * std::numbers::pi * 185.0 / kRate;
        wave[i] = (0.55 * std::sin(phase) * std::exp(-t * 30.0) +
                   0.8 * noise.Next() * std::exp(-t * 16.0)) * fade;
        break;
      }
      case Waveform::Hat: {
        // Differenced noise: most of its energy sits high up.
        const double n = noise.Next();
        wave[i] = (n - previous) * std::exp(-t * 45.0) * fade;
        previous = n;
        break;
      }
      default:
        wave[i] = noise.Next();
        break;
    }
  }
  return Normalise(wave);
}

}  // namespace kestrel::logsynth
