#pragma once
// Real-time sound out: an SDL2 device drained from a lock-free ring, or, with no device, a clock
// that paces the producer to real time.

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "spu/frame_ring.h"

namespace kestrel::spu {

class AudioOutput {
 public:
  static constexpr int kSampleRate = 44100;
  static constexpr std::size_t kRingFrames = 4096;  // about 93 ms queued ahead of the device

  AudioOutput() = default;
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;
  ~AudioOutput() { close(); }

  // Opens the default device (44.1 kHz, s16, stereo). Without one, output is paced by the clock.
  void open();
  // Lets the queued sound play out (briefly) and closes the device.
  void close();
  bool isOpen() const { return open_; }
  bool hasDevice() const { return device_ != 0; }

  // Queues interleaved stereo frames; waits while the ring is full, so the caller runs at the
  // device's pace (or the clock's).
  void write(const std::int16_t* frames, std::size_t count);

 private:
  static void Callback(void* self, std::uint8_t* stream, int bytes);
  void paceByClock(std::size_t frames);

  FrameRing<kRingFrames> ring_;
  std::uint32_t device_ = 0;
  bool open_ = false;
  bool sdlStarted_ = false;
  std::chrono::steady_clock::time_point clockStart_{};
  std::uint64_t clockFrames_ = 0;
};

}  // namespace kestrel::spu
