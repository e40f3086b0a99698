#include "decoder/decoder_events.h"

#include <climits>
#include <vector>

namespace kestrel {
namespace {

bool On(const std::atomic<bool>& flag) { return flag.load(std::memory_order_relaxed); }

void Act(LogEvent& event, const SpuPluginApi& api, const DecodingEvent& switches) {
  switch (event.kind) {
    case LogEventKind::RegisterWrite:
      if (On(switches.registerWrite)) api.SPUwriteRegister(event.address, event.value);
      break;
    case LogEventKind::RegisterRead:
      if (api.SPUreadRegister != nullptr) api.SPUreadRegister(event.address);
      break;
    case LogEventKind::DmaWrite:
      if (api.SPUwriteDMAMem != nullptr && On(switches.dmaWrite) && event.count <= INT_MAX) {
        api.SPUwriteDMAMem(reinterpret_cast<unsigned short*>(event.data.data()), static_cast<int>(event.count));
      }
      break;
    case LogEventKind::DmaRead:
      if (api.SPUreadDMAMem != nullptr) {
        std::vector<unsigned short> discarded(event.count);
        api.SPUreadDMAMem(discarded.data(), static_cast<int>(event.count));
      }
      break;
    case LogEventKind::XaBlock:
      if (api.SPUplayADPCMchannel != nullptr && On(switches.xa)) api.SPUplayADPCMchannel(event.data.data());
      break;
    case LogEventKind::CdAudio:
      if (api.SPUplayCDDAchannel != nullptr && On(switches.cdda) && event.count <= INT_MAX) {
        api.SPUplayCDDAchannel(reinterpret_cast<short*>(event.data.data()), static_cast<int>(event.count));
      }
      break;
    case LogEventKind::InvalidCode:
      break;  // passed over without a word
  }
}

}  // namespace

DecoderEventStream::DecoderEventStream(LogEventReader& reader, LogFileType type, std::uint32_t recordCount,
                                       const std::atomic<bool>* keepGoing)
    : reader_(reader), type_(type), recordCount_(recordCount), keepGoing_(keepGoing) {
  ReadAhead();
}

void DecoderEventStream::ReadAhead() {
  const bool recordsLeft = type_ == LogFileType::New || nextRecord_ < recordCount_;
  nextTime_ = recordsLeft ? reader_.ReadTime() : std::nullopt;
}

void ReplayDecoderEvents(DecoderEventStream& stream, const SpuPluginApi& api, const DecodingEvent& switches,
                         std::uint32_t target) {
  // An old-format record at `target` waits for the next chunk; a new-format event plays now.
  const auto due = [&stream, target](std::uint32_t time) {
    return stream.type_ == LogFileType::Old ? time < target : time <= target;
  };
  const auto going = [&stream] { return stream.keepGoing_ == nullptr || stream.keepGoing_->load(std::memory_order_acquire); };
  while (stream.nextTime_ && due(*stream.nextTime_) && going()) {
    if (!stream.reader_.ReadBody(*stream.nextTime_, stream.event_)) {
      stream.nextTime_.reset();  // cut short; the reader has said so
      return;
    }
    if (stream.type_ == LogFileType::Old) {
      api.SPUwriteRegister(stream.event_.address, stream.event_.value);
      ++stream.nextRecord_;
    } else {
      Act(stream.event_, api, switches);
    }
    stream.ReadAhead();
  }
}

}  // namespace kestrel
