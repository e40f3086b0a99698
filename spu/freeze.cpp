#include "spu/freeze.h"

#include <cstring>

#include "spu/spu.h"

namespace kestrel::spu {
namespace {
constexpr std::uint32_t kFormatVersion = 1;

void PutLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
}  // namespace

void WriteFreezeHeader(std::uint8_t* block) {
  std::memcpy(block + kFreezeHeaderOffset, kFreezeTag, sizeof kFreezeTag);
  PutLe32(block + kFreezeHeaderOffset + 8, kFormatVersion);
  PutLe32(block + kFreezeHeaderOffset + 12, static_cast<std::uint32_t>(kFreezeBlockBytes));
}

void SaveFreeze(const Spu& spu, std::uint8_t* block) {
  WriteFreezeHeader(block);
  spu.saveRegisterImage(block + kFreezeRegistersOffset);
  std::memcpy(block + kFreezeRamOffset, spu.soundRam(), spu_reg::kSoundRamBytes);
  std::memset(block + kFreezeXaOffset, 0, kFreezeBlockBytes - kFreezeXaOffset);
}

void LoadFreeze(Spu& spu, const std::uint8_t* block) {
  spu.reset();
  std::memcpy(spu.soundRam(), block + kFreezeRamOffset, spu_reg::kSoundRamBytes);
  spu.loadRegisterImage(block + kFreezeRegistersOffset);
}

}  // namespace kestrel::spu
