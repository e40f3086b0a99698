#pragma once
// The emulated SPU: register and memory access, CD input and sample rendering at 44.1 kHz.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "spu/decoded_block_cache.h"
#include "spu/spu_state.h"

namespace kestrel::spu {

// How render() computes its samples. Both give the same samples: the reference path is the plain
// one (the whole SPU ticked one frame at a time, every block decoded afresh, scalar kernels), kept to
// hold the fast path to it. The build's KESTREL_SPU_REFERENCE_PATH option makes it the default.
enum class RenderPath : std::uint8_t { kFast, kReference };

class Spu {
 public:
  Spu();

  // ---- setup
  // Power-on state: silent voices, zeroed sound RAM and registers.
  void reset();

  // ---- registers and memory
  // `address` is a CPU address 1F801C00h..1F801FFEh; others are ignored (reads give 0).
  void writeRegister(std::uint32_t address, std::uint16_t value);
  std::uint16_t readRegister(std::uint32_t address) const;
  void writeDma(const std::uint16_t* words, int count);
  void readDma(std::uint16_t* words, int count);

  // ---- CD input
  void playXa(const std::uint8_t* block) { state_->cd.pushXa(block); }
  void playCdda(const std::uint8_t* pcm, std::size_t bytes) { state_->cd.pushCdda(pcm, bytes); }

  // ---- playback
  void setRenderPath(RenderPath path) { path_ = path; }
  RenderPath renderPath() const { return path_; }
  // Renders `frames` stereo frames (left first) of s16 samples at 44.1 kHz.
  void render(std::int16_t* out, int frames);
  // As render, and beside it each source's share of those frames: stems_abi::kTrackCount tracks of
  // `frames` stereo frames, one after the other (abi/spu_stems.h).
  void renderStems(std::int16_t* out, std::int16_t* tracks, int frames);

  // ---- state
  // The 512-byte register image with the live values (ENVX, ENDX, status, repeat addresses, current
  // main volume) in place, as a saved state holds it.
  void saveRegisterImage(std::uint8_t* image) const;
  // Applies a saved register image: every register except key on/off and the read-only ones is
  // written again, so no voice starts.
  void loadRegisterImage(const std::uint8_t* image);
  std::uint8_t* soundRam() { return state_->ram.data(); }
  const std::uint8_t* soundRam() const { return state_->ram.data(); }
  const SpuState& state() const { return *state_; }

 private:
  void writeVoiceRegister(int voice, std::uint32_t offset, std::uint16_t value);
  std::uint16_t readVoiceRegister(int voice, std::uint32_t offset) const;
  void keyOn(std::uint32_t mask);
  void keyOff(std::uint32_t mask);
  // Raises the IRQ flag when the next `halfwords` of a transfer touch the IRQ address.
  void noteTransfer(int halfwords);
  void drainFifo();

  std::unique_ptr<SpuState> state_;
  std::unique_ptr<DecodedBlockCache> blocks_ = std::make_unique<DecodedBlockCache>();  // a memo, not state
  RenderPath path_;
};

}  // namespace kestrel::spu
