#pragma once
// Little-endian halfwords in byte memory (sound RAM, register images, CD sectors): on a
// little-endian machine each is one load or store.

#include <bit>
#include <cstdint>
#include <cstring>

namespace kestrel::spu {

inline std::uint16_t LoadLe16(const std::uint8_t* p) {
  if constexpr (std::endian::native == std::endian::little) {
    std::uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline void StoreLe16(std::uint8_t* p, std::uint16_t v) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(p, &v, sizeof v);
  } else {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
  }
}

}  // namespace kestrel::spu
