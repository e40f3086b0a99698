#pragma once
// Shuffle: every row moved once, in random order, to the end of the list.

#include <cstdint>

#include "library/spu_file_list.h"

namespace kestrel {

// The shuffle's pseudo-random generator: s = s * 214013 + 2531011 (mod 2^32), each draw
// (s >> 16) & 0x7FFF.
class ShuffleRandom {
 public:
  explicit ShuffleRandom(std::uint32_t seed) : state_(seed) {}
  // Seeded with the calendar time in whole seconds.
  static ShuffleRandom FromClock();
  int Draw() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

 private:
  std::uint32_t state_;
};

// Unchecks everything first (so the loop always ends), moves the rows, leaves them all
// checked and selects row 0. The caller then shows the selected file's details.
void ShuffleFileList(SpuFileList& list, ShuffleRandom& random);
void ShuffleFileList(SpuFileList& list);

}  // namespace kestrel
