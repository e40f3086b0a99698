#include "stream_blocks.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "note_pitch.h"
#include "waveform_synth.h"

namespace kestrel::logsynth {
namespace {

constexpr int kTableLength = 2048;
constexpr double kFadeSeconds = 0.05;

void PutS16(std::vector<std::uint8_t>& out, std::size_t at, std::int16_t value) {
  out[at] = static_cast<std::uint8_t>(value);
  out[at + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) >> 8);
}

void PutS32(std::vector<std::uint8_t>& out, std::size_t at, std::int32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

// The chord of a stream as a continuous tone at `rate`, faded in and out so that it does not click.
class ToneGenerator {
 public:
  ToneGenerator(const Stream& stream, double rate, std::size_t length)
      : table_(SynthesiseCycle(IsTonal(stream.waveform) ? stream.waveform : Waveform::Sine,
                               kTableLength, 24)),
        rate_(rate), length_(length),
        gain_(stream.volume / 100.0 / static_cast<double>(stream.notes.size())) {
    for (const int note : stream.notes) {
      increments_.push_back(NoteFrequency(note) * kTableLength / rate);
      phases_.push_back(0.0);
    }
  }

  // Sample `index`; note n sounds on the left when `channel` is 0 and n is even, and so on,
  // so that a stereo chord is spread; mono (channel -1) sums all notes.
  std::int16_t Next(std::size_t index, int channel) {
    double sum = 0;
    for (std::size_t n = 0; n < phases_.size(); ++n) {
      const double value = table_[static_cast<std::size_t>(phases_[n]) % kTableLength] / 32767.0;
      const bool heard = channel < 0 || phases_.size() == 1 || static_cast<int>(n % 2) == channel;
      if (heard) sum += value * (channel < 0 || phases_.size() == 1 ? 1.0 : 2.0);
    }
    const auto at = static_cast<double>(index);
    const double fade = std::min({1.0, at / (kFadeSeconds * rate_),
                                  (static_cast<double>(length_) - at) / (kFadeSeconds * rate_)});
    return static_cast<std::int16_t>(std::lround(std::clamp(sum * gain_ * fade, -1.0, 1.0) * 32767.0));
  }

  void Advance() {
    for (std::size_t n = 0; n < phases_.size(); ++n) {
      phases_[n] = std::fmod(phases_[n] + increments_[n], static_cast<double>(kTableLength));
    }
  }

 private:
  std::vector<std::int16_t> table_;
  std::vector<double> increments_;
  std::vector<double> phases_;
  double rate_;
  std::size_t length_;
  double gain_;
};

std::uint32_t AddCdAudio(const Stream& stream, std::uint32_t start, std::uint32_t samples, LogScript& script) {
  ToneGenerator tone(stream, 44100.0, samples);
  std::uint32_t done = 0;
  while (done < samples) {
    const std::uint32_t frames = std::min<std::uint32_t>(kCdFramesPerSector, samples - done);
    std::vector<std::uint8_t> pcm(frames * 4u);
    for (std::uint32_t f = 0; f < frames; ++f) {
      PutS16(pcm, f * 4u, tone.Next(done + f, 0));
      PutS16(pcm, f * 4u + 2, tone.Next(done + f, 1));
      tone.Advance();
    }
    script.Add({start + done, Phase::Stream, ScriptEvent::Kind::CdAudio, 0, 0, std::move(pcm)});
    done += frames;
  }
  return start + samples;
}

std::uint32_t AddXa(const Stream& stream, std::uint32_t start, std::uint32_t samples, LogScript& script) {
  const double rate = stream.rate;
  const auto total = static_cast<std::size_t>(std::llround(samples * rate / 44100.0));
  const int channels = stream.stereo ? 2 : 1;
  const std::size_t perBlock = kXaMonoSamplesPerSector / channels;  // frames per sector
  ToneGenerator tone(stream, rate, total);
  std::size_t done = 0;
  while (done < total) {
    const std::size_t frames = std::min(perBlock, total - done);
    std::vector<std::uint8_t> block(kXaHeaderBytes + kXaMaxSamples * 2, 0);
    PutS32(block, 0, stream.rate);
    PutS32(block, 4, 4);  // bits per ADPCM sample of the sector it came from
    PutS32(block, 8, stream.stereo ? 1 : 0);
    PutS32(block, 12, static_cast<std::int32_t>(frames));
    // The two decode states (bytes 16..31) stay zero: the samples are already decoded.
    for (std::size_t f = 0; f < frames; ++f) {
      for (int c = 0; c < channels; ++c) {
        PutS16(block, kXaHeaderBytes + (f * channels + c) * 2, tone.Next(done + f, stream.stereo ? c : -1));
      }
      tone.Advance();
    }
    const auto time = start + static_cast<std::uint32_t>(std::llround(static_cast<double>(done) * 44100.0 / rate));
    script.Add({time, Phase::Stream, ScriptEvent::Kind::XaBlock, 0, 0, std::move(block)});
    done += frames;
  }
  return start + samples;
}

}  // namespace

std::uint32_t AddStream(const Stream& stream, std::uint32_t start, std::uint32_t samples, LogScript& script) {
  return stream.kind == StreamKind::CdAudio ? AddCdAudio(stream, start, samples, script)
                                            : AddXa(stream, start, samples, script);
}

}  // namespace kestrel::logsynth
