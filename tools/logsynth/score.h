#pragma once
// A parsed score: everything the synthesizer needs to build one SPU log.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "spulog/log_format.h"

namespace kestrel::logsynth {

enum class Waveform { Sine, Square, Saw, Triangle, Noise, Kick, Snare, Hat, WavFile };

// Where an instrument's sample lives: in the initial sound RAM image, or uploaded by a DMA
// write just before its first note (new format only).
enum class SamplePlacement { InitialRam, Dma };

// ADSR as the two hardware registers; the parser fills them from times or raw values.
struct Envelope {
  std::uint16_t adsr1 = 0;
  std::uint16_t adsr2 = 0;
};

struct Instrument {
  std::string name;
  int line = 0;
  Waveform waveform = Waveform::Sine;
  std::string wavPath;      // WavFile: as written in the score
  int rootNote = 60;        // WavFile: the note the file sounds at its own rate (MIDI number)
  std::optional<bool> loop; // default: tonal waves loop, drums and files do not
  int loopStart = 0;        // WavFile: first sample of the loop
  double seconds = 0.0;     // Noise, drums: length of the one-shot (0 = the waveform's own)
  Envelope envelope;
  SamplePlacement placement = SamplePlacement::InitialRam;
};

struct Track {
  std::string name;
  int line = 0;
  std::string instrument;
  std::vector<int> voices;  // round-robin for successive notes
  int volume = 100;         // percent
  int pan = 0;              // -100 (left) .. +100 (right)
  bool reverb = false;
  int gate = 100;           // percent of a note's length before key off
  int transpose = 0;        // semitones
};

// One note (or chord) of a pattern line, in steps from the pattern start.
struct NoteEvent {
  int line = 0;
  int step = 0;
  int length = 1;
  std::vector<int> notes;  // MIDI numbers; empty for a rest; -1 = the instrument's root
  int volume = 100;        // percent
  std::optional<int> pan;
};

struct PatternLine {
  std::string track;
  std::vector<NoteEvent> events;
  int end = 0;  // the step after the line's last note or rest
};

struct Pattern {
  std::string name;
  int line = 0;
  int length = 0;  // steps: the longest line, or the declared length
  std::vector<PatternLine> lines;
};

// A pattern placed on the song's time line.
struct Placement {
  int line = 0;
  std::string pattern;
  int step = 0;
};

enum class StreamKind { Xa, CdAudio };

// XA or CD audio: a synthesised tone streamed from the drive.
struct Stream {
  int line = 0;
  StreamKind kind = StreamKind::CdAudio;
  int step = 0;
  int length = 16;          // steps
  Waveform waveform = Waveform::Sine;
  std::vector<int> notes{57};
  int volume = 50;          // percent of full scale
  int rate = 37800;         // XA only: 37800 or 18900
  bool stereo = true;       // XA only
};

struct ReverbSetting {
  std::string preset;       // empty: reverb off
  int volume = 40;          // output volume, percent
};

struct Score {
  std::string gameTitle;
  std::string musicTitle;
  std::string copyright;
  LogFileType format = LogFileType::New;
  int formatLine = 0;
  bool gzip = false;
  double tempo = 120.0;     // beats per minute
  int stepsPerBeat = 4;
  int mainVolume = 80;      // percent
  double tailSeconds = 2.0;
  ReverbSetting reverb;
  std::vector<Instrument> instruments;
  std::vector<Track> tracks;
  std::map<std::string, Pattern> patterns;
  std::vector<Placement> song;
  std::vector<Stream> streams;
  int songSteps = 0;        // the song position after the last placement or rest

  const Instrument* FindInstrument(const std::string& name) const;
  const Track* FindTrack(const std::string& name) const;
};

}  // namespace kestrel::logsynth
