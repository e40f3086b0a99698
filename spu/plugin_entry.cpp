// The plugin's C entry points: each a line or two over the C++ core; no exception leaves here.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string_view>
#include <type_traits>

#include "abi/spu_plugin.h"
#include "abi/spu_stems.h"
#include "spu/freeze.h"
#include "spu/plugin_instance.h"

#define KESTREL_SPU_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
using kestrel::spu::CurrentInstance;
using kestrel::spu::PluginInstance;

constexpr unsigned long kLibType = kestrel::kSpuPluginType;
constexpr unsigned long kVersion = (1 << 16) | (1 << 8) | 0;
char kLibName[] = "Kestrel Reference SPU";

// The exported name below is the one hosts look up.
static_assert(std::string_view(kestrel::stems_abi::kRenderStemsName) == "KestrelSPUrenderStems");

// Hosts pass addresses as unsigned long: one beyond 32 bits is no SPU port (0 is none either),
// not a port modulo 2^32.
std::uint32_t PortAddress(unsigned long address) {
  return address <= UINT32_MAX ? static_cast<std::uint32_t>(address) : 0;
}

// Runs `body` on the live instance; anything thrown or a missing instance gives `fallback`.
template <typename Result, typename Body>
Result WithInstance(Result fallback, Body body) {
  try {
    PluginInstance* instance = CurrentInstance().get();
    return instance ? body(*instance) : fallback;
  } catch (...) {
    return fallback;
  }
}
template <typename Body>
void WithInstance(Body body) {
  WithInstance(0, [&](PluginInstance& instance) {
    body(instance);
    return 0;
  });
}
}  // namespace

KESTREL_SPU_EXPORT char* PSEgetLibName() { return kLibName; }
KESTREL_SPU_EXPORT unsigned long PSEgetLibType() { return kLibType; }
KESTREL_SPU_EXPORT unsigned long PSEgetLibVersion() { return kVersion; }

KESTREL_SPU_EXPORT long SPUinit() {
  try {
    CurrentInstance() = std::make_unique<PluginInstance>();
    return 0;
  } catch (...) {
    return -1;
  }
}

KESTREL_SPU_EXPORT long SPUshutdown() {
  try {
    CurrentInstance().reset();
    return 0;
  } catch (...) {
    return -1;
  }
}

KESTREL_SPU_EXPORT long SPUopen(void*) {
  return WithInstance(-1L, [](PluginInstance& p) {
    p.output().open();
    return 0L;
  });
}

KESTREL_SPU_EXPORT long SPUclose() {
  return WithInstance(-1L, [](PluginInstance& p) {
    p.output().close();
    return 0L;
  });
}

KESTREL_SPU_EXPORT void SPUwriteRegister(unsigned long address, unsigned short value) {
  WithInstance([&](PluginInstance& p) { p.spu().writeRegister(PortAddress(address), value); });
}

KESTREL_SPU_EXPORT unsigned short SPUreadRegister(unsigned long address) {
  return WithInstance<unsigned short>(0, [&](PluginInstance& p) {
    return p.spu().readRegister(PortAddress(address));
  });
}

KESTREL_SPU_EXPORT void SPUwriteDMAMem(unsigned short* words, int count) {
  WithInstance([&](PluginInstance& p) { p.spu().writeDma(words, count); });
}

KESTREL_SPU_EXPORT void SPUreadDMAMem(unsigned short* words, int count) {
  WithInstance([&](PluginInstance& p) { p.spu().readDma(words, count); });
}

KESTREL_SPU_EXPORT void SPUplayADPCMchannel(void* xaBlock) {
  if (!xaBlock) return;
  WithInstance([&](PluginInstance& p) { p.spu().playXa(static_cast<const std::uint8_t*>(xaBlock)); });
}

KESTREL_SPU_EXPORT int SPUplayCDDAchannel(short* pcm, int bytes) {
  if (!pcm || bytes <= 0) return 0;
  WithInstance([&](PluginInstance& p) {
    p.spu().playCdda(reinterpret_cast<const std::uint8_t*>(pcm), static_cast<std::size_t>(bytes));
  });
  return 0;
}

KESTREL_SPU_EXPORT long SPUfreeze(unsigned long mode, void* block) {
  if (!block) return 0;
  auto* bytes = static_cast<std::uint8_t*>(block);
  return WithInstance(0L, [&](PluginInstance& p) {
    switch (static_cast<kestrel::spu::FreezeMode>(mode)) {
      case kestrel::spu::FreezeMode::Load: kestrel::spu::LoadFreeze(p.spu(), bytes); return 1L;
      case kestrel::spu::FreezeMode::Save: kestrel::spu::SaveFreeze(p.spu(), bytes); return 1L;
      case kestrel::spu::FreezeMode::HeaderOnly: kestrel::spu::WriteFreezeHeader(bytes); return 1L;
    }
    return 0L;
  });
}

KESTREL_SPU_EXPORT void SPUasync(unsigned long cycles) {
  WithInstance([&](PluginInstance& p) { p.advance(cycles); });
}

KESTREL_SPU_EXPORT void SPUrender(void* buffer, int bytes) {
  if (!buffer || bytes < 4) return;
  WithInstance([&](PluginInstance& p) { p.renderInto(buffer, bytes / 4); });
}

// Named in abi/spu_stems.h; the host finds it by that name.
KESTREL_SPU_EXPORT void KestrelSPUrenderStems(void* buffer, int bytes, short* tracks) {
  if (!buffer || !tracks || bytes < 4) return;
  WithInstance([&](PluginInstance& p) { p.renderStemsInto(buffer, tracks, bytes / 4); });
}

static_assert(std::is_same_v<decltype(&KestrelSPUrenderStems), kestrel::stems_abi::RenderStems>);

KESTREL_SPU_EXPORT long SPUconfigure() { return 0; }

KESTREL_SPU_EXPORT void SPUabout() {
  std::printf("%s %lu.%lu.%lu\nA PlayStation SPU emulator written from public hardware documentation.\n", kLibName,
              kVersion >> 16, (kVersion >> 8) & 0xFF, kVersion & 0xFF);
  std::fflush(stdout);
}

KESTREL_SPU_EXPORT long SPUtest() {
  std::printf("%s: ready (44100 Hz, 16-bit stereo; sound through SDL2)\n", kLibName);
  std::fflush(stdout);
  return 0;
}
