#include "decoder/stem_outputs.h"

#include <algorithm>
#include <cstdio>

namespace kestrel {

std::string StemPath(const std::string& folder, const std::string& name, const std::string& suffix) {
  return folder + "/" + name + "." + suffix + ".wav";
}

std::string StemSuffix(int track) {
  if (track == stems_abi::kReverbTrack) return "reverb";
  if (track == stems_abi::kCdTrack) return "cd";
  char voice[16];
  std::snprintf(voice, sizeof voice, "voice%02d", track);
  return voice;
}

std::unique_ptr<StemOutputs> StemOutputs::Create(const std::string& folder, const std::string& name,
                                                 std::uint32_t tracks, std::string& error) {
  auto outputs = std::unique_ptr<StemOutputs>(new StemOutputs);
  for (int t = 0; t < stems_abi::kTrackCount; ++t) {
    if ((tracks & (1u << t)) == 0) continue;
    const std::string path = StemPath(folder, name, StemSuffix(t));
    std::string why;
    outputs->tracks_[t] = WavOutput::Create(path, why);
    if (!outputs->tracks_[t]) {
      error = "Can't create the output file " + path + " : " + why;
      return nullptr;  // the ones made so far remove their temporary files
    }
  }
  return outputs;
}

bool StemOutputs::Write(int track, const std::int16_t* frames, std::size_t bytes) {
  WavOutput* output = tracks_[track].get();
  if (output == nullptr) return true;
  sounded_[track] = sounded_[track] || std::any_of(frames, frames + bytes / 2, [](std::int16_t s) { return s != 0; });
  if (output->Write(frames, bytes)) return true;
  error_ = "can't write " + output->Path() + " : " + output->Error();
  return false;
}

bool StemOutputs::WriteAll(const std::int16_t* tracks, std::size_t bytes) {
  for (int t = 0; t < stems_abi::kTrackCount; ++t) {
    if (!Write(t, tracks + t * (bytes / 2), bytes)) return false;
  }
  return true;
}

bool StemOutputs::Finish(std::uint32_t sampleRate, bool keepSilent) {
  for (int t = 0; t < stems_abi::kTrackCount; ++t) {
    WavOutput* output = tracks_[t].get();
    const bool voice = t < stems_abi::kVoiceTracks;
    if (output == nullptr || (voice && !sounded_[t] && !keepSilent)) continue;
    if (!output->Finish(sampleRate)) {
      error_ = "can't write " + output->Path() + " : " + output->Error();
      return false;
    }
    ++finished_;
  }
  return true;
}

}  // namespace kestrel
