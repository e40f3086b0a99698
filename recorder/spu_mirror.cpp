#include "recorder/spu_mirror.h"

#include <algorithm>
#include <cstring>

#include "spu/freeze.h"
#include "abi/spu_registers.h"

namespace kestrel::recorder {
namespace {

constexpr unsigned long kFreezeSave = 1;

std::uint32_t GetLe32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24);
}

std::vector<std::uint8_t> ImageOf(const std::uint8_t* ram, const std::uint8_t* registers) {
  std::vector<std::uint8_t> image(kSoundRamSize + kRegisterImageSize);
  std::copy_n(ram, kSoundRamSize, image.begin());
  std::copy_n(registers, kRegisterImageSize, image.begin() + kSoundRamSize);
  return image;
}

}  // namespace

void SpuMirror::WriteRegister(std::uint32_t address, std::uint16_t value) {
  if (address < spu_reg::kBase || address >= spu_reg::kImageEnd) return;
  const std::uint32_t offset = (address - spu_reg::kBase) & ~1u;
  registers_[offset] = static_cast<std::uint8_t>(value);
  registers_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
  if ((address & ~1u) == spu_reg::kTransferAddress) transfer_.setAddress(value);
  if ((address & ~1u) == spu_reg::kTransferFifo) transfer_.write(ram_.data(), value);
}

void SpuMirror::WriteDma(const std::uint16_t* words, int count) {
  if (words != nullptr && count > 0) transfer_.writeBlock(ram_.data(), words, count);
}

void SpuMirror::ReadDma(int count) {
  if (count > 0) transfer_.current = (transfer_.current + 2u * static_cast<std::uint32_t>(count)) & spu_reg::kSoundRamMask;
}

void SpuMirror::Load(const FreezeBlock& block) {
  std::copy_n(block.soundRam, kSoundRamSize, ram_.begin());
  std::copy_n(block.registers, kRegisterImageSize, registers_.begin());
  const std::uint32_t at = spu_reg::kTransferAddress - spu_reg::kBase;
  transfer_.setAddress(static_cast<std::uint16_t>(registers_[at] | (registers_[at + 1] << 8)));
}

std::vector<std::uint8_t> SpuMirror::Image() const { return ImageOf(ram_.data(), registers_.data()); }

bool InOurLayout(const FreezeBlock& block) {
  return std::memcmp(block.header, spu::kFreezeTag, sizeof spu::kFreezeTag) == 0 &&
         GetLe32(block.header + 12) == sizeof(FreezeBlock);
}

std::vector<std::uint8_t> ReadBackImage(long (*freeze)(unsigned long mode, void* block)) {
  if (freeze == nullptr) return {};
  const auto block = MakeFreezeBlock();
  freeze(kFreezeSave, block.get());
  return InOurLayout(*block) ? ImageOf(block->soundRam, block->registers) : std::vector<std::uint8_t>{};
}

}  // namespace kestrel::recorder
