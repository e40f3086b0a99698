#pragma once
// What a host and a PSX SPU plugin agree on: the clock SPUasync counts in, the sizes of the sound
// RAM, the register window and an XA block, the SPUfreeze block, and the entry-point types Linux
// plugins export.

#include <cstddef>
#include <cstdint>

namespace kestrel {

inline constexpr unsigned long kSpuPluginType = 4;       // PSEgetLibType of an SPU plugin
inline constexpr unsigned long kPsxCpuClock = 33868800;  // SPUasync cycles per second
inline constexpr unsigned long kPluginSampleRate = 44100;
inline constexpr unsigned long kCyclesPerSample = kPsxCpuClock / kPluginSampleRate;  // 768

inline constexpr std::size_t kSoundRamSize = 0x80000;     // 512 KB of SPU sound RAM
inline constexpr std::size_t kRegisterImageSize = 0x200;  // 256 16-bit registers
inline constexpr std::size_t kXaBlockSize = 0x8020;       // one XA decode block (32,800 bytes)

// Plugins index into this block by offset, so its layout may never change.
struct FreezeBlock {
  std::uint8_t header[16];                     // name, version, size: left zero by the loader
  std::uint8_t registers[kRegisterImageSize];  // 0x1F801C00.., 16-bit little-endian
  std::uint8_t soundRam[kSoundRamSize];
  std::uint8_t xaState[kXaBlockSize];
  std::uint8_t spare[1024];
};
static_assert(sizeof(FreezeBlock) == 558640);
static_assert(offsetof(FreezeBlock, registers) == 16);
static_assert(offsetof(FreezeBlock, soundRam) == 528);
static_assert(offsetof(FreezeBlock, xaState) == 524816);

// SPUfreeze's mode argument.
enum class FreezeMode : unsigned long { Load = 0, Save = 1, HeaderOnly = 2 };

namespace spu_abi {
using Init = long (*)();
using Shutdown = long (*)();
using Open = long (*)(void* window);
using Close = long (*)();
using WriteRegister = void (*)(unsigned long address, unsigned short value);
using ReadRegister = unsigned short (*)(unsigned long address);
using WriteDmaMem = void (*)(unsigned short* words, int count);
using ReadDmaMem = void (*)(unsigned short* words, int count);
using PlayAdpcmChannel = void (*)(void* xaBlock);
using PlayCddaChannel = int (*)(short* pcm, int bytes);
using Freeze = long (*)(unsigned long mode, void* block);
using Async = void (*)(unsigned long cycles);
using Render = void (*)(void* buffer, int bytes);
using Configure = long (*)();
using About = void (*)();
using Test = long (*)();
using GetLibName = char* (*)();
using GetLibType = unsigned long (*)();
using GetLibVersion = unsigned long (*)();
}  // namespace spu_abi

}  // namespace kestrel
