// Delivering one event of the log to the plugin, through the register path.

#include <vector>

#include "platform/console_log.h"
#include "mixer/channel_mixer.h"
#include "mixer/event_delivery.h"
#include "mixer/switches.h"
#include "player/player_session.h"

namespace kestrel {
namespace {

// The voice registers and the main volume pass the mixer's rescaling.
constexpr std::uint32_t kRescaledFirst = spu_reg::kBase;
constexpr std::uint32_t kRescaledLast = spu_reg::kMainVolumeRight;

void DeliverRegisterWrite(PlayerSession& session, std::uint32_t address, std::uint16_t value) {
  if (address >= kRescaledFirst && address <= kRescaledLast) {
    value = RescaleVoiceVolume(session.registerPath.channelMixer, address, value);
  }
  if (FilterRegisterWrite(session.registerPath.registerControl, session.registerPath.eventControl, address,
                          session.Seeking())) {
    session.WriteRegister(address, value);
  }
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
  const EventControl& events = session.registerPath.eventControl;
  const bool seeking = session.Seeking();
  const EventGate gate{AllowDmaWrite(events, seeking), AllowXa(events, seeking), AllowCdda(events, seeking)};
  DeliverLogEvent(session.api, event, gate,
                  [&session](std::uint32_t address, std::uint16_t value) { DeliverRegisterWrite(session, address, value); });
  // A large payload is not kept for the rest of the playback.
  if (event.data.capacity() > kXaBlockSize) std::vector<std::uint8_t>().swap(event.data);
}

}  // namespace kestrel
