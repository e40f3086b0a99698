#include "note_pitch.h"

#include <cctype>
#include <algorithm>
#include <cmath>

namespace kestrel::logsynth {

std::optional<int> ParseNoteName(std::string_view text) {
  if (text.empty()) return std::nullopt;
  static constexpr int kSemitoneOfLetter[] = {9, 11, 0, 2, 4, 5, 7};  // A..G
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  if (letter < 'A' || letter > 'G') return std::nullopt;
  int semitone = kSemitoneOfLetter[letter - 'A'];
  std::size_t i = 1;
  if (i < text.size() && (text[i] == '#' || text[i] == 'b')) {
    semitone += text[i] == '#' ? 1 : -1;
    ++i;
  }
  bool negative = false;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  if (i + 1 != text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) {
    return std::nullopt;
  }
  const int octave = negative ? -(text[i] - '0') : text[i] - '0';
  if (octave < -1) return std::nullopt;
  const int note = (octave + 1) * 12 + semitone;
  if (note < 0 || note > 127) return std::nullopt;
  return note;
}

double NoteFrequency(int midiNote) { return 440.0 * std::exp2((midiNote - 69) / 12.0); }

std::optional<std::uint16_t> PitchRegister(double sampleRate, double recordedHz, double wantedHz) {
  const double pitch = std::round(4096.0 * (sampleRate / 44100.0) * (wantedHz / recordedHz));
  if (!(pitch <= 0x3FFF)) return std::nullopt;
  return static_cast<std::uint16_t>(std::max(pitch, 1.0));
}

}  // namespace kestrel::logsynth
