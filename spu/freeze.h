#pragma once
// The state block of SPUfreeze: 16-byte header, 512 register bytes, sound RAM, XA area, spare.

#include <cstddef>
#include <cstdint>

#include "abi/spu_plugin.h"

namespace kestrel::spu {

class Spu;

inline constexpr std::size_t kFreezeHeaderOffset = offsetof(FreezeBlock, header);
inline constexpr std::size_t kFreezeRegistersOffset = offsetof(FreezeBlock, registers);
inline constexpr std::size_t kFreezeRamOffset = offsetof(FreezeBlock, soundRam);
inline constexpr std::size_t kFreezeXaOffset = offsetof(FreezeBlock, xaState);
inline constexpr std::size_t kFreezeBlockBytes = sizeof(FreezeBlock);
// The header's first 8 bytes: a host that finds them after a save knows the block is in this layout.
inline constexpr char kFreezeTag[8] = {'K', 'S', 'P', 'U', 'F', 'R', 'Z', '1'};

using kestrel::FreezeMode;

// Fills in the header: tag, format version and block size.
void WriteFreezeHeader(std::uint8_t* block);
// Saves registers and sound RAM (and the header); the XA area and the spare bytes are zeroed.
void SaveFreeze(const Spu& spu, std::uint8_t* block);
// Restarts the SPU from the block's registers and sound RAM; its header is not looked at.
void LoadFreeze(Spu& spu, const std::uint8_t* block);

}  // namespace kestrel::spu
