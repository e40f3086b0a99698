#include "decoder/decoder_events.h"

#include "mixer/event_delivery.h"


namespace kestrel {
namespace {

bool On(const std::atomic<bool>& flag) { return flag.load(std::memory_order_relaxed); }

}  // namespace

void DecoderEventStream::WriteRegister(const SpuPluginApi& api, std::uint32_t address, std::uint16_t value) {
  if (address == spu_reg::kKeyOnLow) keyedOn_ |= value;
  if (address == spu_reg::kKeyOnHigh) keyedOn_ |= (std::uint32_t{value} << 16) & 0xFFFFFF;
  api.SPUwriteRegister(address, mixer_ != nullptr ? RescaleVoiceVolume(*mixer_, address, value) : value);
}

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
      stream.WriteRegister(api, stream.event_.address, stream.event_.value);
      ++stream.nextRecord_;
    } else if (stream.event_.kind != LogEventKind::InvalidCode) {  // an invalid code is passed over without a word
      const EventGate gate{On(switches.dmaWrite), On(switches.xa), On(switches.cdda)};
      DeliverLogEvent(api, stream.event_, gate, [&](std::uint32_t address, std::uint16_t value) {
        if (On(switches.registerWrite)) stream.WriteRegister(api, address, value);
      });
    }
    stream.ReadAhead();
  }
}

}  // namespace kestrel
