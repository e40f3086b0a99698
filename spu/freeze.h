#pragma once
// The state block of SPUfreeze: 16-byte header, 512 register bytes, sound RAM, XA area, spare.

#include <cstddef>
#include <cstdint>

namespace kestrel::spu {

class Spu;

inline constexpr std::size_t kFreezeHeaderOffset = 0;
inline constexpr std::size_t kFreezeRegistersOffset = 16;
inline constexpr std::size_t kFreezeRamOffset = 528;
inline constexpr std::size_t kFreezeXaOffset = 524816;
inline constexpr std::size_t kFreezeBlockBytes = 558640;
// The header's first 8 bytes: a host that finds them after a save knows the block is in this layout.
inline constexpr char kFreezeTag[8] = {'K', 'S', 'P', 'U', 'F', 'R', 'Z', '1'};

enum class FreezeMode : unsigned long { Load = 0, Save = 1, HeaderOnly = 2 };

// Fills in the header: tag, format version and block size.
void WriteFreezeHeader(std::uint8_t* block);
// Saves registers and sound RAM (and the header); the XA area and the spare bytes are zeroed.
void SaveFreeze(const Spu& spu, std::uint8_t* block);
// Restarts the SPU from the block's registers and sound RAM; its header is not looked at.
void LoadFreeze(Spu& spu, const std::uint8_t* block);

}  // namespace kestrel::spu
