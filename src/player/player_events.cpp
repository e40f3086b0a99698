// Delivering one event of the log to the plugin, through the register path.

#include <climits>
#include <vector>

#include "platform/console_log.h"
#include "mixer/channel_mixer.h"
#include "mixer/switches.h"
#include "player/player_session.h"

namespace kestrel {
namespace {

// Voice, main volume and the registers up to 0x1F801D82 pass the mixer's rescaling.
constexpr std::uint32_t kRescaledFirst = 0x1F801C00;
constexpr std::uint32_t kRescaledLast = 0x1F801D82;

unsigned short* Words(std::vector<std::uint8_t>& bytes) {
  return reinterpret_cast<unsigned short*>(bytes.data());
}

void DeliverRegisterWrite(PlayerSession& session, const LogEvent& event) {
  std::uint16_t value = event.value;
  if (event.address >= kRescaledFirst && event.address <= kRescaledLast) {
    value = RescaleVoiceVolume(session.registerPath.channelMixer, event.address, value);
  }
  if (FilterRegisterWrite(session.registerPath.registerControl, session.registerPath.eventControl,
                          event.address, session.Seeking())) {
    session.WriteRegister(event.address, value);
  }
}

void DeliverDmaRead(PlayerSession& session, const LogEvent& event) {
  if (session.api.SPUreadDMAMem == nullptr) return;
  // The plugin fills this buffer; what it reads is not used.
  std::vector<std::uint8_t> buffer(2ull * event.count);
  session.api.SPUreadDMAMem(Words(buffer), static_cast<int>(event.count));
}

}  // namespace

std::optional<std::uint32_t> ReadNextTime(PlayerSession& session) {
  const std::optional<std::uint32_t> time = session.reader->ReadTime();
  // An event past the log's length would sound after its end: the stream ends before it.
  if (time && *time > session.log->totalLength) return std::nullopt;
  return time;
}

void DeliverEvent(PlayerSession& session, std::uint32_t time) {
  LogEvent& event = session.event;
  if (!session.reader->ReadBody(time, event)) return;  // cut short: the reader has said so
  if (const auto line = InvalidEventLine(event)) {
    ConsoleLog::Write(*line);
    return;
  }
  const SpuPluginApi& api = session.api;
  const EventControl& events = session.registerPath.eventControl;
  const bool seeking = session.Seeking();
  switch (event.kind) {
    case LogEventKind::RegisterWrite:
      DeliverRegisterWrite(session, event);
      break;
    case LogEventKind::RegisterRead:
      if (api.SPUreadRegister != nullptr) api.SPUreadRegister(event.address);
      break;
    case LogEventKind::DmaWrite:
      if (api.SPUwriteDMAMem != nullptr && event.count <= INT_MAX && AllowDmaWrite(events, seeking)) {
        api.SPUwriteDMAMem(Words(event.data), static_cast<int>(event.count));
      }
      break;
    case LogEventKind::DmaRead:
      DeliverDmaRead(session, event);
      break;
    case LogEventKind::XaBlock:
      if (api.SPUplayADPCMchannel != nullptr && AllowXa(events, seeking)) {
        api.SPUplayADPCMchannel(event.data.data());
      }
      break;
    case LogEventKind::CdAudio:
      if (api.SPUplayCDDAchannel != nullptr && event.count <= INT_MAX && AllowCdda(events, seeking)) {
        api.SPUplayCDDAchannel(reinterpret_cast<short*>(event.data.data()), static_cast<int>(event.count));
      }
      break;
    case LogEventKind::InvalidCode:
      break;  // reported above
  }
  // A large payload is not kept for the rest of the playback.
  if (event.data.capacity() > kXaBlockSize) std::vector<std::uint8_t>().swap(event.data);
}

}  // namespace kestrel
