#pragma once
// Small fixtures for driving the emulator: samples in sound RAM, voice set-up, rendering and measuring.

#include <cstdint>
#include <span>
#include <vector>

#include "spu/spu.h"

namespace kestrel::spu::testing {

inline constexpr std::uint16_t kSampleUnits = 0x200;  // sample data at byte 0x1000, past the capture buffers

// A tone of `period` samples repeated `periods` times.
std::vector<std::int16_t> SineCycles(int period, int periods, double amplitude);
// Encodes `pcm` and uploads it with the transfer address and DMA; returns its start in 8-byte units.
std::uint16_t UploadSample(Spu& spu, std::span<const std::int16_t> pcm, int loopStart,
                           std::uint16_t units = kSampleUnits);
// Full main volume, SPU on and unmuted.
void PowerUp(Spu& spu);
// Voice at full fixed volume on `start` with `pitch` and the ADSR words, not keyed on.
void SetUpVoice(Spu& spu, int voice, std::uint16_t start, std::uint16_t pitch, std::uint16_t adsrLow = 0x00FF,
                std::uint16_t adsrHigh = 0x0000);
void KeyOn(Spu& spu, std::uint32_t mask);
// Renders `frames` and returns the left channel.
std::vector<std::int16_t> RenderLeft(Spu& spu, int frames);
// The "Hall" reverb preset as published, its work area at the end of sound RAM (reverb not yet enabled).
void LoadHallReverb(Spu& spu);
// An XA block as a log stores it, with `samples` (interleaved when stereo).
std::vector<std::uint8_t> XaBlock(int frequency, bool stereo, const std::vector<std::int16_t>& samples);
// Frequency from interpolated rising zero crossings (Hz at 44.1 kHz).
double MeasureFrequency(std::span<const std::int16_t> samples);

}  // namespace kestrel::spu::testing
