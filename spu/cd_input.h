#pragma once
// The CD input: CD audio and decoded XA blocks, queued as 44.1 kHz stereo frames for the mixer.

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrel::spu {

inline constexpr std::size_t kXaBlockBytes = 32800;  // as a log stores it: header, two decode states, samples
inline constexpr int kXaMaxSamples = 16384;

struct StereoFrame {
  std::int16_t left = 0, right = 0;
};

struct CdInput {
  static constexpr std::uint32_t kCapacity = 1u << 16;  // frames, about 1.5 s
  std::array<StereoFrame, kCapacity> frames{};
  std::uint32_t readIndex = 0, writeIndex = 0;  // free-running; the difference is the fill
  // Resampler state carried from one XA block to the next. 37,800 and 18,900 Hz go through the CD
  // controller's zigzag filter: a ring of the last 32 samples per side and its six-step counter.
  // Each sample is stored twice, 32 apart, so the 29 newest lie side by side from any position (the
  // tail past the second copy only ever meets zero taps).
  std::array<std::array<std::int16_t, 72>, 2> xaRing{};
  std::uint8_t xaRingPosition = 0;
  std::uint8_t xaSixStep = 6;
  // Other rates (not from a console) by linear interpolation.
  StereoFrame lastXaFrame;
  std::uint32_t xaPhase = 0;  // 16.16 position inside the block being resampled

  // CD audio: s16 stereo at 44.1 kHz. Frames that do not fit are dropped. Returns the frames queued.
  std::size_t pushCdda(const std::uint8_t* pcm, std::size_t bytes);
  // An XA block as the log stores it; a block with an impossible header is ignored.
  std::size_t pushXa(const std::uint8_t* block);
  // The next frame, or silence when nothing is queued.
  StereoFrame pop() {
    if (readIndex == writeIndex) return {};
    return frames[readIndex++ % kCapacity];
  }
  void clear() { *this = CdInput{}; }

 private:
  std::size_t pushZigzag(StereoFrame frame);
  bool push(StereoFrame frame) {
    if (writeIndex - readIndex >= kCapacity) return false;
    frames[writeIndex++ % kCapacity] = frame;
    return true;
  }
};

}  // namespace kestrel::spu
