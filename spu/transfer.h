#pragma once
// Sound-RAM transfers: the transfer address register, the data FIFO port and DMA in both directions.

#include <array>
#include <cstdint>

#include "abi/spu_registers.h"
#include "spu/le16.h"

namespace kestrel::spu {

struct Transfer {
  std::uint16_t startRegister = 0;  // 1F801DA6h as written, in 8-byte units
  std::uint32_t current = 0;        // byte address; advances with every halfword moved
  std::uint16_t control = spu_reg::kTransferControlNormal;
  // The data port's FIFO: halfwords written to 1F801DA8h wait here until the control register's
  // transfer mode is manual write, then go to RAM; a full FIFO takes no more (psx-spx, "SPU Memory
  // Access": up to 32 halfwords, then start the transfer).
  static constexpr int kFifoHalfwords = 32;
  std::array<std::uint16_t, kFifoHalfwords> fifo{};
  int fifoCount = 0;

  void queue(std::uint16_t halfword) {
    if (fifoCount < kFifoHalfwords) fifo[fifoCount++] = halfword;
  }
  // Moves the FIFO to RAM; returns how many halfwords it held.
  int drainFifo(std::uint8_t* ram) {
    const int count = fifoCount;
    writeBlock(ram, fifo.data(), count);
    fifoCount = 0;
    return count;
  }

  // The register keeps the written value; the internal address starts at value * 8.
  void setAddress(std::uint16_t value) {
    startRegister = value;
    current = (std::uint32_t{value} * 8) & spu_reg::kSoundRamMask;
  }
  // One halfword through the data port (or one DMA word); the address wraps at the end of RAM.
  void write(std::uint8_t* ram, std::uint16_t halfword) {
    StoreLe16(ram + current, halfword);
    current = (current + 2) & spu_reg::kSoundRamMask;
  }
  std::uint16_t read(const std::uint8_t* ram) {
    const std::uint16_t halfword = LoadLe16(ram + current);
    current = (current + 2) & spu_reg::kSoundRamMask;
    return halfword;
  }
  void writeBlock(std::uint8_t* ram, const std::uint16_t* words, int count) {
    for (int i = 0; i < count; ++i) write(ram, words[i]);
  }
  void readBlock(const std::uint8_t* ram, std::uint16_t* words, int count) {
    for (int i = 0; i < count; ++i) words[i] = read(ram);
  }
};

}  // namespace kestrel::spu
