#include "plugin/spu_plugin_api.h"

namespace kestrel {

SpuPluginApi BindSpuPluginApi(const DynamicLibrary& library) {
  SpuPluginApi api;
#define KESTREL_BIND(name) api.name = library.Entry<decltype(api.name)>(#name)
  KESTREL_BIND(SPUinit);
  KESTREL_BIND(SPUshutdown);
  KESTREL_BIND(SPUopen);
  KESTREL_BIND(SPUclose);
  KESTREL_BIND(SPUwriteRegister);
  KESTREL_BIND(SPUreadRegister);
  KESTREL_BIND(SPUwriteDMAMem);
  KESTREL_BIND(SPUreadDMAMem);
  KESTREL_BIND(SPUplayADPCMchannel);
  KESTREL_BIND(SPUplayCDDAchannel);
  KESTREL_BIND(SPUfreeze);
  KESTREL_BIND(SPUasync);
  KESTREL_BIND(SPUrender);
  KESTREL_BIND(SPUconfigure);
  KESTREL_BIND(SPUabout);
  KESTREL_BIND(SPUtest);
  KESTREL_BIND(PSEgetLibName);
  KESTREL_BIND(PSEgetLibType);
  KESTREL_BIND(PSEgetLibVersion);
#undef KESTREL_BIND
  return api;
}

}  // namespace kestrel
