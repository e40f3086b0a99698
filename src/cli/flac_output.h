#pragma once
// FLAC copies of rendered WAV files, through libsndfile.

#include <string>

namespace kestrel::cli {

// Encodes the WAV file `wav` into a new file `flac` (which must not exist), synced to disk.
// False with `error` saying why; a half-written `flac` is removed.
bool WriteFlacCopy(const std::string& wav, const std::string& flac, std::string& error);

}  // namespace kestrel::cli
