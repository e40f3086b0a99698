#include "note_sequencer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "note_pitch.h"
#include "abi/spu_registers.h"

namespace kestrel::logsynth {
namespace {

constexpr std::size_t kMostNotes = 200000;  // far beyond any tune, far below running out of memory

struct VoiceNote {
  int voice = 0;
  std::uint32_t on = 0;
  std::uint32_t off = 0;
  const Instrument* instrument = nullptr;
  const PlacedSample* sample = nullptr;
  std::uint16_t pitch = 0;
  std::uint16_t left = 0;
  std::uint16_t right = 0;
};

// Key on and key off are written as one mask per register half, as games do.
void WriteVoiceMasks(LogScript& script, std::uint32_t time, Phase phase, std::uint32_t lowAddress,
                     std::uint32_t highAddress, std::uint32_t mask) {
  if ((mask & 0xFFFF) != 0) script.Write(time, phase, lowAddress, static_cast<std::uint16_t>(mask));
  if ((mask >> 16) != 0) script.Write(time, phase, highAddress, static_cast<std::uint16_t>(mask >> 16));
}

std::string NoteText(int note) {
  static const char* const kNames[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  return kNames[note % 12] + std::to_string(note / 12 - 1);
}

}  // namespace

std::uint32_t SongClock::At(double step) const {
  return static_cast<std::uint32_t>(std::llround(step * samplesPerStep));
}

std::uint16_t VolumeRegister(double percent) {
  return static_cast<std::uint16_t>(std::lround(std::clamp(percent, 0.0, 100.0) / 100.0 * 0x3FFF));
}

std::variant<SequencedNotes, ScoreError> SequenceNotes(const Score& score, const SampleMemory& memory,
                                                       LogScript& script) {
  const SongClock clock(score);
  std::vector<VoiceNote> notes;
  std::map<std::string, std::size_t> nextVoice;  // per track: round-robin position
  SequencedNotes result;

  for (const Placement& placement : score.song) {
    const Pattern& pattern = score.patterns.at(placement.pattern);
    for (const PatternLine& line : pattern.lines) {
      const Track& track = *score.FindTrack(line.track);
      const Instrument& instrument = *score.FindInstrument(track.instrument);
      const PlacedSample& sample = memory.instruments.at(instrument.name);
      for (const NoteEvent& event : line.events) {
        const double start = placement.step + event.step;
        const std::uint32_t on = clock.At(start);
        const std::uint32_t off =
            std::max(on + 1, clock.At(start + event.length * track.gate / 100.0));
        const int pan = event.pan.value_or(track.pan);
        const double volume = track.volume * event.volume / 100.0;
        if (event.notes.size() > track.voices.size()) {
          return ScoreError{event.line, "a chord of " + std::to_string(event.notes.size()) +
                                            " notes needs as many voices on track '" + track.name + "'"};
        }
        for (const int written : event.notes) {
          const int note = written < 0 ? instrument.rootNote : written + track.transpose;
          const auto pitch = PitchRegister(sample.sampleRate, sample.recordedHz, NoteFrequency(note));
          if (!pitch) {
            return ScoreError{event.line, "note " + NoteText(note) + " is too high for instrument '" +
                                              instrument.name + "'"};
          }
          if (notes.size() == kMostNotes) {
            return ScoreError{event.line, "more than " + std::to_string(kMostNotes) + " notes"};
          }
          std::size_t& rr = nextVoice[track.name];
          VoiceNote v;
          v.voice = track.voices[rr++ % track.voices.size()];
          v.on = on;
          v.off = off;
          v.instrument = &instrument;
          v.sample = &sample;
          v.pitch = *pitch;
          v.left = VolumeRegister(volume * std::min(1.0, 1.0 - pan / 100.0));
          v.right = VolumeRegister(volume * std::min(1.0, 1.0 + pan / 100.0));
          notes.push_back(v);
          auto [it, fresh] = result.firstUse.emplace(instrument.name, on);
          if (!fresh) it->second = std::min(it->second, on);
        }
      }
    }
  }

  // A voice's note ends no later than the next note on that voice starts; a key off at the
  // very moment of the next key on would cut the new note, so it is left out.
  std::stable_sort(notes.begin(), notes.end(), [](const VoiceNote& a, const VoiceNote& b) {
    return a.voice != b.voice ? a.voice < b.voice : a.on < b.on;
  });
  std::map<std::uint32_t, std::uint32_t> keyOn, keyOff;
  for (std::size_t i = 0; i < notes.size(); ++i) {
    VoiceNote& n = notes[i];
    const bool followed = i + 1 < notes.size() && notes[i + 1].voice == n.voice;
    if (followed) n.off = std::min(n.off, notes[i + 1].on);
    const std::uint32_t bit = 1u << n.voice;
    if (!(followed && n.off == notes[i + 1].on) && n.off > n.on) keyOff[n.off] |= bit;
    keyOn[n.on] |= bit;
    result.lastKeyOff = std::max(result.lastKeyOff, n.off);

    const Phase setup = Phase::VoiceSetup;
    script.Write(n.on, setup, spu_reg::VoiceVolumeLeft(n.voice), n.left);
    script.Write(n.on, setup, spu_reg::VoiceVolumeRight(n.voice), n.right);
    script.Write(n.on, setup, spu_reg::VoicePitch(n.voice), n.pitch);
    script.Write(n.on, setup, spu_reg::VoiceStartAddress(n.voice), AddressRegister(n.sample->address));
    script.Write(n.on, setup, spu_reg::VoiceAdsrLow(n.voice), n.instrument->envelope.adsr1);
    script.Write(n.on, setup, spu_reg::VoiceAdsrHigh(n.voice), n.instrument->envelope.adsr2);
  }
  for (const auto& [time, mask] : keyOff) {
    WriteVoiceMasks(script, time, Phase::KeyOff, spu_reg::kKeyOffLow, spu_reg::kKeyOffHigh, mask);
  }
  for (const auto& [time, mask] : keyOn) {
    WriteVoiceMasks(script, time, Phase::KeyOn, spu_reg::kKeyOnLow, spu_reg::kKeyOnHigh, mask);
  }
  return result;
}

}  // namespace kestrel::logsynth
