#pragma once
// XA and CD audio: synthesised tones cut into the blocks the drive would deliver.

#include <cstdint>

#include "log_script.h"
#include "score.h"

namespace kestrel::logsynth {

// XA decode block as a plugin receives it: s32 frequency, s32 bits, s32 stereo, s32 sample
// count (per channel), two decode states of two s32, then up to 16,384 s16 samples.
inline constexpr std::size_t kXaHeaderBytes = 32;
inline constexpr int kXaMaxSamples = 16384;
// One CD sector: 2,352 bytes of s16 stereo at 44,100 Hz.
inline constexpr int kCdFramesPerSector = 588;
// One XA sector holds 18 sound groups of 224 nibbles: 4,032 mono samples or 2,016 pairs.
inline constexpr int kXaMonoSamplesPerSector = 4032;

// Adds the stream's blocks from `start` for `samples` output samples (at 44,100 Hz);
// returns the time after the last block.
std::uint32_t AddStream(const Stream& stream, std::uint32_t start, std::uint32_t samples,
                        LogScript& script);

}  // namespace kestrel::logsynth
