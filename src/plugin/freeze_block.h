#pragma once
// Helpers around the state block handed to a plugin's SPUfreeze (abi/spu_plugin.h).

#include <cstdint>
#include <memory>

#include "abi/spu_plugin.h"

namespace kestrel {

// A zero-filled block.
inline std::unique_ptr<FreezeBlock> MakeFreezeBlock() { return std::make_unique<FreezeBlock>(); }

// The 16-bit register at SPU address `address` (0x1F801C00..0x1F801DFE) in the block's image.
std::uint16_t RegisterFromImage(const FreezeBlock& block, std::uint32_t address);

}  // namespace kestrel
