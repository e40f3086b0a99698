#include "mixer/event_delivery.h"

#include <climits>
#include <vector>

namespace kestrel {

void DeliverNonRegisterEvent(const SpuPluginApi& api, LogEvent& event, const EventGate& gate) {
  std::uint8_t* bytes = event.data.data();  // the plugin's calls take non-const pointers
  switch (event.kind) {
    case LogEventKind::RegisterRead:
      if (api.SPUreadRegister != nullptr) api.SPUreadRegister(event.address);
      break;
    case LogEventKind::DmaWrite:
      if (api.SPUwriteDMAMem != nullptr && gate.dmaWrite && event.count <= INT_MAX) {
        api.SPUwriteDMAMem(reinterpret_cast<unsigned short*>(bytes), static_cast<int>(event.count));
      }
      break;
    case LogEventKind::DmaRead:
      if (api.SPUreadDMAMem != nullptr && event.count <= INT_MAX) {
        std::vector<unsigned short> discarded(event.count);  // what the plugin reads is not used
        api.SPUreadDMAMem(discarded.data(), static_cast<int>(event.count));
      }
      break;
    case LogEventKind::XaBlock:
      if (api.SPUplayADPCMchannel != nullptr && gate.xa) api.SPUplayADPCMchannel(bytes);
      break;
    case LogEventKind::CdAudio:
      if (api.SPUplayCDDAchannel != nullptr && gate.cdda && event.count <= INT_MAX) {
        api.SPUplayCDDAchannel(reinterpret_cast<short*>(bytes), static_cast<int>(event.count));
      }
      break;
    case LogEventKind::RegisterWrite:
    case LogEventKind::InvalidCode:
      break;  // the caller's business
  }
}

}  // namespace kestrel
