#pragma once
// The state block handed to a plugin's SPUfreeze.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace kestrel {

inline constexpr std::size_t kSoundRamSize = 0x80000;      // 512 KB of SPU sound RAM
inline constexpr std::size_t kRegisterImageSize = 0x200;   // 256 16-bit registers
inline constexpr std::size_t kXaBlockSize = 0x8020;        // one XA decode block (32,800 bytes)

// Layout fixed by the plugin interface: plugins index into it by offset.
struct FreezeBlock {
  std::uint8_t header[16];                      // name, version, size: left zero by the loader
  std::uint8_t registers[kRegisterImageSize];   // 0x1F801C00.., 16-bit little-endian
  std::uint8_t soundRam[kSoundRamSize];
  std::uint8_t xaState[kXaBlockSize];
  std::uint8_t spare[1024];
};
static_assert(sizeof(FreezeBlock) == 558640);
static_assert(offsetof(FreezeBlock, registers) == 16);
static_assert(offsetof(FreezeBlock, soundRam) == 528);
static_assert(offsetof(FreezeBlock, xaState) == 524816);

// A zero-filled block.
inline std::unique_ptr<FreezeBlock> MakeFreezeBlock() { return std::make_unique<FreezeBlock>(); }

// The 16-bit register at SPU address `address` (0x1F801C00..0x1F801DFE) in the block's image.
std::uint16_t RegisterFromImage(const FreezeBlock& block, std::uint32_t address);

}  // namespace kestrel
