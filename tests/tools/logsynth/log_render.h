#pragma once
// Plays a log through the emulator core, as the player would, for checks on the sound.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::test {

// Interleaved stereo s16 for the log's whole length; empty when the log does not load.
std::vector<std::int16_t> RenderLog(const std::string& path);

// Root mean square of the samples in [begin, end) frames of interleaved stereo, full scale 1.
double RmsLevel(const std::vector<std::int16_t>& stereo, std::size_t beginFrame, std::size_t endFrame);

}  // namespace kestrel::test
