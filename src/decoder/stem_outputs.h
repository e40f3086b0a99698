#pragma once
// The per-source WAV files of a stems decode: NAME.voice00.wav .. NAME.voice23.wav, NAME.reverb.wav
// and NAME.cd.wav in one folder, beside NAME.mix.wav which the decoder writes as its output.
// Each is a WavOutput, so nothing on disk is replaced before the decode completes, and a track
// that stayed silent is left out (its temporary file goes) unless every track is asked for.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "abi/spu_stems.h"
#include "decoder/wav_output.h"

namespace kestrel {

// FOLDER/NAME.SUFFIX.wav, SUFFIX one of "mix", "voice00".."voice23", "reverb", "cd".
std::string StemPath(const std::string& folder, const std::string& name, const std::string& suffix);
// The suffix of a track of abi/spu_stems.h.
std::string StemSuffix(int track);

class StemOutputs {
 public:
  // Prepares the tracks whose bit is set in `tracks` (bit t for track t); on failure `error`
  // names the file and says why, and nothing is left behind.
  static std::unique_ptr<StemOutputs> Create(const std::string& folder, const std::string& name,
                                             std::uint32_t tracks, std::string& error);

  // Appends `bytes` of interleaved s16 frames to one track.
  bool Write(int track, const std::int16_t* frames, std::size_t bytes);
  // Every track, from a render that returned them all: track t at tracks + t * (bytes / 2).
  bool WriteAll(const std::int16_t* tracks, std::size_t bytes);
  // Completes the tracks that sounded (all of them when `keepSilent`), drops the others.
  bool Finish(std::uint32_t sampleRate, bool keepSilent);
  const std::string& Error() const { return error_; }
  // The tracks Finish wrote.
  int FinishedCount() const { return finished_; }

 private:
  std::array<std::unique_ptr<WavOutput>, stems_abi::kTrackCount> tracks_;
  std::array<bool, stems_abi::kTrackCount> sounded_{};
  std::string error_;
  int finished_ = 0;
};

}  // namespace kestrel
