#pragma once
// The SPU state a log starts from: sound RAM with the samples, and the register image.

#include <cstdint>

#include "sample_memory.h"
#include "score.h"
#include "spulog/log_writer.h"

namespace kestrel::logsynth {

// The SPUCNT value the log starts with (enabled, unmuted, reverb and CD audio as used).
std::uint16_t ControlRegister(const Score& score);

// Sound RAM below the reverb area: all of it without reverb.
std::uint32_t SampleRamLimit(const Score& score);

// Writes the titles, the samples that live in the initial sound RAM and every register
// the score sets up front: main, reverb and CD volumes, the reverb preset, the control
// register, and each voice parked on a silent loop with reverb as its track asks.
void WriteInitialState(const Score& score, const SampleMemory& memory, SpuLogWriter& writer);

}  // namespace kestrel::logsynth
