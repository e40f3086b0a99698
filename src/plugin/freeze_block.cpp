#include "plugin/freeze_block.h"

namespace kestrel {

std::uint16_t RegisterFromImage(const FreezeBlock& block, std::uint32_t address) {
  const std::size_t offset = (address - 0x1F801C00u) & (kRegisterImageSize - 2);
  return static_cast<std::uint16_t>(block.registers[offset] | (block.registers[offset + 1] << 8));
}

}  // namespace kestrel
