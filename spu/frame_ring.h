#pragma once
// A lock-free ring of stereo frames between exactly one producer thread and one consumer thread.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace kestrel::spu {

template <std::size_t Capacity>
class FrameRing {
  static_assert((Capacity & (Capacity - 1)) == 0, "capacity must be a power of two");

 public:
  // Producer: queues up to `count` frames (interleaved left/right), returns how many fitted.
  std::size_t push(const std::int16_t* frames, std::size_t count) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    const std::size_t tail = tail_.load(std::memory_order_acquire);
    const std::size_t room = Capacity - (head - tail);
    const std::size_t n = count < room ? count : room;
    for (std::size_t i = 0; i < n; ++i) {
      slots_[(head + i) & (Capacity - 1)] = {frames[2 * i], frames[2 * i + 1]};
    }
    head_.store(head + n, std::memory_order_release);
    return n;
  }

  // Consumer: takes up to `count` frames, returns how many there were.
  std::size_t pop(std::int16_t* frames, std::size_t count) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    const std::size_t head = head_.load(std::memory_order_acquire);
    const std::size_t available = head - tail;
    const std::size_t n = count < available ? count : available;
    for (std::size_t i = 0; i < n; ++i) {
      const Slot& slot = slots_[(tail + i) & (Capacity - 1)];
      frames[2 * i] = slot.left;
      frames[2 * i + 1] = slot.right;
    }
    tail_.store(tail + n, std::memory_order_release);
    return n;
  }

  std::size_t size() const { return head_.load(std::memory_order_acquire) - tail_.load(std::memory_order_acquire); }
  void clear() { tail_.store(head_.load(std::memory_order_acquire), std::memory_order_release); }

 private:
  struct Slot {
    std::int16_t left = 0, right = 0;
  };
  std::array<Slot, Capacity> slots_{};
  alignas(64) std::atomic<std::size_t> head_{0};
  alignas(64) std::atomic<std::size_t> tail_{0};
};

}  // namespace kestrel::spu
