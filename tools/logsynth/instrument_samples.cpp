#include "instrument_samples.h"

#include "note_pitch.h"
#include "wav_file.h"
#include "waveform_synth.h"

namespace kestrel::logsynth {
namespace {

constexpr int kCycles = 4;       // two to settle the encoder's filter, two to loop
constexpr int kHarmonics = 16;   // a mellow, clean tone across the keyboard
constexpr int kBlockSamples = 28;

}  // namespace

std::variant<InstrumentSample, ScoreError> MakeInstrumentSample(const Instrument& instrument,
                                                                const std::string& scoreFolder) {
  InstrumentSample sample;
  if (IsTonal(instrument.waveform)) {
    const auto cycle = SynthesiseCycle(instrument.waveform, kCycleLength, kHarmonics);
    for (int i = 0; i < kCycles; ++i) sample.pcm.insert(sample.pcm.end(), cycle.begin(), cycle.end());
    sample.recordedHz = 44100.0 / kCycleLength;
    sample.loopStart = instrument.loop.value_or(true) ? kCycleLength * kCycles / 2 : -1;
    if (!instrument.loop.value_or(true) && instrument.seconds > 0) {
      // A one-shot tone: repeat the cycle for the asked length.
      const auto wanted = static_cast<std::size_t>(instrument.seconds * 44100.0);
      while (sample.pcm.size() < wanted) sample.pcm.insert(sample.pcm.end(), cycle.begin(), cycle.end());
    }
    return sample;
  }
  sample.recordedHz = NoteFrequency(instrument.rootNote);
  if (instrument.waveform == Waveform::WavFile) {
    const std::string path = !instrument.wavPath.empty() && instrument.wavPath[0] == '/'
                                 ? instrument.wavPath : scoreFolder + "/" + instrument.wavPath;
    auto loaded = LoadWavFile(path);
    if (auto* error = std::get_if<std::string>(&loaded)) {
      return ScoreError{instrument.line, "instrument '" + instrument.name + "': " + *error};
    }
    auto& sound = std::get<WavSound>(loaded);
    sample.pcm = std::move(sound.samples);
    sample.sampleRate = sound.sampleRate;
  } else {
    sample.pcm = SynthesiseOneShot(instrument.waveform, instrument.seconds);
  }
  if (instrument.loop.value_or(false)) {
    // The hardware loops from a block's start.
    if (instrument.loopStart >= static_cast<int>(sample.pcm.size())) {
      return ScoreError{instrument.line, "instrument '" + instrument.name + "': loopstart " +
                                             std::to_string(instrument.loopStart) + " is past the " +
                                             std::to_string(sample.pcm.size()) + " samples"};
    }
    sample.loopStart = instrument.loopStart / kBlockSamples * kBlockSamples;
  }
  return sample;
}

}  // namespace kestrel::logsynth
