#pragma once
// A voice rendered over a run of frames instead of one tick at a time, and what that needs to know
// about the memory the rest of the SPU writes meanwhile.

#include <cstdint>

#include "spu/adpcm.h"
#include "spu/decoded_block_cache.h"
#include "abi/spu_registers.h"
#include "spu/voice.h"

namespace kestrel::spu {

// Sound RAM that the SPU itself writes while it renders: the capture buffers, one halfword of each per
// tick, and, while reverb writes are on, the reverb work area. A voice rendered ahead of the mix must
// not read a block there that the mix writes earlier in the same chunk.
struct UnsafeReads {
  std::uint32_t captureIndex = 0;              // the halfword the chunk's first tick writes
  std::uint32_t reverbStart = spu_reg::kSoundRamBytes;  // [reverbStart, end of RAM) is written when reverb writes are on

  // Whether the block read on tick `frame` of the chunk may have been written on an earlier tick of it.
  bool covers(std::uint32_t blockAddress, int frame) const {
    if (blockAddress + kAdpcmBlockBytes > reverbStart) return true;
    if (blockAddress >= spu_reg::kCaptureAreaBytes) return false;
    // The chunk's ticks write halfwords captureIndex, captureIndex + 1, ... of each buffer.
    const std::uint32_t first = (blockAddress % spu_reg::kCaptureBufferBytes) / 2;
    const std::uint32_t ticksUntilWritten = (first - captureIndex) % spu_reg::kCaptureHalfwords;
    const std::uint32_t halfwordsPerBlock = kAdpcmBlockBytes / 2;
    const bool writtenByWrap = ticksUntilWritten > spu_reg::kCaptureHalfwords - halfwordsPerBlock;
    return writtenByWrap || ticksUntilWritten < static_cast<std::uint32_t>(frame);
  }
};

inline constexpr int kMaxRunFrames = 64;

// A run of frames rendered for one voice at a time. Within one render call voices meet only through
// pitch modulation, which reads the voice below frame by frame, so the voices can be rendered one
// after the other, the voice below first.
struct VoiceRun {
  int frames = 0;  // at most kMaxRunFrames
  const std::uint8_t* ram = nullptr;
  DecodedBlockCache* blocks = nullptr;
  const std::int16_t* noise = nullptr;  // per frame; set in noise mode
  const int* modulator = nullptr;       // the voice below's output per frame; set when pitch-modulated
  UnsafeReads unsafe;
  int* left = nullptr;   // the voice's share is added here per frame
  int* right = nullptr;
  int* output = nullptr;  // per frame: the sample after the envelope
  std::uint32_t irqUnit = spu_reg::kNoIrqUnit;
  bool reachedLoopEnd = false;
  bool touchedIrqUnit = false;  // a block played lies on the IRQ address; the caller checks the first
  bool readUnsafeBlock = false;  // the run stopped early: render these frames tick by tick instead
};

}  // namespace kestrel::spu
