#pragma once
// The entry points of a PSX SPU plugin, bound by name (their types are in abi/spu_plugin.h).

#include "abi/spu_plugin.h"
#include "plugin/dynamic_library.h"

namespace kestrel {

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
