#pragma once
// Note names and the SPU pitch register.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrel::logsynth {

// "C4", "F#3", "Bb2" (octave -1..9, C4 = 60 as in MIDI); nullopt for anything else.
std::optional<int> ParseNoteName(std::string_view text);

double NoteFrequency(int midiNote);  // A4 = 440 Hz, equal temperament

// The pitch register that plays a sample recorded at `sampleRate` so that a sound at
// `recordedHz` in it comes out at `wantedHz`: 0x1000 plays the sample at 44,100 Hz.
// nullopt when the result is above 0x3FFF, the highest rate the hardware plays.
std::optional<std::uint16_t> PitchRegister(double sampleRate, double recordedHz, double wantedHz);

}  // namespace kestrel::logsynth
