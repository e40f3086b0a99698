#include "decoder/decode_page_state.h"

#include <algorithm>

namespace kestrel {
namespace {

using namespace decode_page;

constexpr int kDecodingEventBoxes[] = {kRegisterWriteBox, kDmaWriteBox, kXaBox, kCddaBox};

std::atomic<bool>* SwitchOf(DecodingEvent& switches, int id) {
  switch (id) {
    case kRegisterWriteBox: return &switches.registerWrite;
    case kDmaWriteBox: return &switches.dmaWrite;
    case kXaBox: return &switches.xa;
    case kCddaBox: return &switches.cdda;
    default: return nullptr;
  }
}

}  // namespace

DecodePageState::DecodePageState(DecodingEvent& switches) : switches_(switches) {
  for (const int id : kDecodingEventBoxes) SetDecodingEventBox(id, true);
  SetSpecifyDecodeTime(false);
  Greying();
}

void DecodePageState::SetSpecifyDecodeTime(bool checked) {
  controls.SetChecked(kSpecifyTime, checked);
  controls.SetEnabled(kDecodingTime, checked);
}

void DecodePageState::MovePrioritySlider(int position) {
  priorityPosition = std::clamp(position, 1, static_cast<int>(kPriorityTable.size()));
  priorityLabel = PriorityName(priorityPosition);
}

void DecodePageState::LoadPriority(int position, std::string label) {
  priorityPosition = std::clamp(position, 1, static_cast<int>(kPriorityTable.size()));
  priorityLabel = std::move(label);
}

// The decoder reads the switches before each batch of events; the boxes are disabled while
// it runs, so following them as they change is the same.
bool DecodePageState::SetDecodingEventBox(int id, bool checked) {
  std::atomic<bool>* on = SwitchOf(switches_, id);
  if (on == nullptr) return false;
  controls.SetChecked(id, checked);
  on->store(checked, std::memory_order_release);
  return true;
}

bool DecodePageState::ToggleDecodingEventBox(int id) { return SetDecodingEventBox(id, !controls.Checked(id)); }

bool DecodePageState::EditField(int id, std::string text) {
  if (id == kOutputName) {
    outputName = std::move(text);
  } else if (id == kDecodingTime) {
    decodingTime = std::move(text);
  } else {
    return false;
  }
  return true;
}

void DecodePageState::ShowTargetFile(std::string name, std::optional<LogFileType> format) {
  targetFileName = std::move(name);
  controls.SetChecked(kOldFormat, format == LogFileType::Old);
  controls.SetChecked(kNewFormat, format == LogFileType::New);
}

void DecodePageState::SetPlaybackRunning(bool playing) {
  playing_ = playing;
  Greying();
}

std::optional<std::uint32_t> DecodePageState::StartDecode(const DecodeSources& sources) {
  if (decoding_ || playing_) return std::nullopt;
  const std::uint32_t number = ++jobNumber_;
  DecodeRequest request;
  request.pluginPath = sources.pluginPath;
  request.logPath = sources.logPath;
  request.startupFolder = sources.startupFolder;
  request.outputName = outputName;
  request.specifyTime = SpecifyDecodeTime();
  request.decodingTime = decodingTime;
  request.priority = PriorityAt(priorityPosition);
  if (sources.ended) request.onEnded = [ended = sources.ended, number] { ended(number); };
  decoding_ = true;
  decodeButtonText = "Decoding...";
  Greying();
  job_.StartDecode(std::move(request));
  return number;
}

void DecodePageState::AbortDecode() {
  if (!decoding_) return;
  job_.AbortDecode();
  decoding_ = false;
  decodeButtonText = "Decode";
  Greying();
}

void DecodePageState::DecodeEnded(std::uint32_t job) {
  if (!decoding_ || job != jobNumber_) return;
  job_.EndDecodeJob();
  decoding_ = false;
  decodeButtonText = "Decode";
  Greying();
}

void DecodePageState::ShowProgress(const Progress& progress) {
  progressPosition = std::clamp(progress.position, 0, progress.maximum);
  progressLabel = progress.label;
}

void DecodePageState::WaitForDecodeEnd() { job_.WaitForEnd(); }

void DecodePageState::Greying() {
  controls.SetEnabled(kDecode, !decoding_ && !playing_);
  controls.SetEnabled(kAbort, decoding_);
  controls.SetEnabled(kPriority, !decoding_);
  controls.SetEnabled({kRegisterWriteBox, kDmaWriteBox, kXaBox, kCddaBox}, !decoding_);
}

}  // namespace kestrel
