#pragma once
// What the recorder knows of the SPU's sound RAM and registers, from every write, transfer and
// state it has passed to the real plugin. It is the start of a recording when the real plugin
// cannot hand its own state back in a layout we know.

#include <array>
#include <cstdint>
#include <vector>

#include "plugin/freeze_block.h"
#include "spu/transfer.h"

namespace kestrel::recorder {

class SpuMirror {
 public:
  SpuMirror() : ram_(kSoundRamSize, 0) {}

  void WriteRegister(std::uint32_t address, std::uint16_t value);
  void WriteDma(const std::uint16_t* words, int count);
  // A read moves the transfer address on as a write does.
  void ReadDma(int count);
  void Load(const FreezeBlock& block);

  // The log's state image: sound RAM, then the 512 register bytes.
  std::vector<std::uint8_t> Image() const;

 private:
  std::vector<std::uint8_t> ram_;
  std::array<std::uint8_t, kRegisterImageSize> registers_{};
  spu::Transfer transfer_;
};

// The block carries our tag and size in its header.
bool InOurLayout(const FreezeBlock& block);

// The state image read back with SPUfreeze's save mode, when the block comes back in our layout
// (tag and size in its header); empty otherwise.
std::vector<std::uint8_t> ReadBackImage(long (*freeze)(unsigned long mode, void* block));

}  // namespace kestrel::recorder
