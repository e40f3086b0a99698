#include "plugin/freeze_block.h"

#include "abi/spu_registers.h"

namespace kestrel {

std::uint16_t RegisterFromImage(const FreezeBlock& block, std::uint32_t address) {
  const std::size_t offset = (address - spu_reg::kBase) & (kRegisterImageSize - 2);
  return static_cast<std::uint16_t>(block.registers[offset] | (block.registers[offset + 1] << 8));
}

}  // namespace kestrel
