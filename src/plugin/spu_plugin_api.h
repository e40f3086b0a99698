#pragma once
// The entry points of a PSX SPU plugin, with the types Linux plugins export them with.

#include "plugin/dynamic_library.h"

namespace kestrel {

inline constexpr unsigned long kSpuPluginType = 4;  // PSEgetLibType of an SPU plugin
inline constexpr unsigned long kPsxCpuClock = 33868800;  // SPUasync cycles per second

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

// Every entry point looked up by name; a missing one is null.
struct SpuPluginApi {
  spu_abi::Init SPUinit = nullptr;
  spu_abi::Shutdown SPUshutdown = nullptr;
  spu_abi::Open SPUopen = nullptr;
  spu_abi::Close SPUclose = nullptr;
  spu_abi::WriteRegister SPUwriteRegister = nullptr;
  spu_abi::ReadRegister SPUreadRegister = nullptr;
  spu_abi::WriteDmaMem SPUwriteDMAMem = nullptr;
  spu_abi::ReadDmaMem SPUreadDMAMem = nullptr;
  spu_abi::PlayAdpcmChannel SPUplayADPCMchannel = nullptr;
  spu_abi::PlayCddaChannel SPUplayCDDAchannel = nullptr;
  spu_abi::Freeze SPUfreeze = nullptr;
  spu_abi::Async SPUasync = nullptr;
  spu_abi::Render SPUrender = nullptr;
  spu_abi::Configure SPUconfigure = nullptr;
  spu_abi::About SPUabout = nullptr;
  spu_abi::Test SPUtest = nullptr;
  spu_abi::GetLibName PSEgetLibName = nullptr;
  spu_abi::GetLibType PSEgetLibType = nullptr;
  spu_abi::GetLibVersion PSEgetLibVersion = nullptr;
};

SpuPluginApi BindSpuPluginApi(const DynamicLibrary& library);

}  // namespace kestrel
