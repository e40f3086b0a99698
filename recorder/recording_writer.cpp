#include "recorder/recording_writer.h"

#include <variant>

#include "recorder/recorder_report.h"
#include "spulog/title_text.h"

namespace kestrel::recorder {

RecordingWriter::RecordingWriter(RecordingTarget target, std::size_t budget)
    : target_(std::move(target)), budget_(budget), thread_([this] { Run(); }) {}

RecordingWriter::~RecordingWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

bool RecordingWriter::Push(RecordItem item, bool always) {
  {
    std::lock_guard lock(mutex_);
    const std::size_t size = item.Size();
    if (!always && queuedBytes_ + size > budget_) return false;
    queuedBytes_ += size;
    queue_.push_back(std::move(item));
  }
  wake_.notify_one();
  return true;
}

void RecordingWriter::Run() {
  std::deque<RecordItem> batch;
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) break;  // stopping, and everything is written
      batch.swap(queue_);
      queuedBytes_ = 0;
    }
    for (RecordItem& item : batch) Handle(item);
    batch.clear();
    Flush();
  }
  if (file_) End(lastTime_);  // a recording the emulator never ended
}

void RecordingWriter::Handle(RecordItem& item) {
  switch (item.kind) {
    case RecordItem::Kind::Begin:
      Begin(item);
      break;
    case RecordItem::Kind::Event:
      if (encoder_) Encode(item);
      break;
    case RecordItem::Kind::End:
      if (file_) {
        Flush();
        if (file_) End(item.time);
      }
      break;
  }
}

void RecordingWriter::Begin(const RecordItem& item) {
  if (file_) End(lastTime_);
  encoder_.emplace(LogFileType::New);
  encoder_->SetSoundRam(0, std::span(item.bytes).first(kSoundRamSize));
  for (std::size_t i = 0; i < kRegisterImageSize; i += 2) {
    const auto value = static_cast<std::uint16_t>(item.bytes[kSoundRamSize + i] | (item.bytes[kSoundRamSize + i + 1] << 8));
    encoder_->SetRegister(spu_reg::kBase + static_cast<std::uint32_t>(i), value);
  }
  encoder_->SetHeader(CutUtf8(target_.gameTitle, kGameTitleSize - 1), CutUtf8(target_.musicTitle, kMusicTitleSize - 1),
                      CutUtf8(target_.copyright, kCopyrightSize - 1));
  encoder_->SetTotalLength(1);  // a valid log from the start; the real length follows each batch
  auto created = RecordingFile::Create(target_.folder, FileStem(target_.gameTitle, target_.musicTitle),
                                       target_.compress, encoder_->HeadBytes());
  lastTime_ = 0;
  eventEnds_.clear();
  wroteEvents_ = false;
  if (auto* problem = std::get_if<std::string>(&created)) {
    Report("recording not made: " + *problem);
    encoder_.reset();
    diskFailed_.store(true, std::memory_order_release);
    return;
  }
  file_.emplace(std::move(std::get<RecordingFile>(created)));
}

void RecordingWriter::Encode(const RecordItem& item) {
  SpuLogWriter& log = *encoder_;
  switch (item.code) {
    case LogEventCode::RegisterWrite: log.AddRegisterWrite(item.time, item.address, item.value); break;
    case LogEventCode::RegisterRead: log.AddRegisterRead(item.time, item.address); break;
    case LogEventCode::DmaWrite: log.AddDmaWrite(item.time, item.words); break;
    case LogEventCode::DmaRead: log.AddDmaRead(item.time, item.count); break;
    case LogEventCode::XaBlock: log.AddXaBlock(item.time, item.bytes); break;
    case LogEventCode::CdAudio: log.AddCdAudio(item.time, item.bytes); break;
  }
  lastTime_ = item.time;
  eventEnds_.push_back({log.PendingEventBytes(), item.time});
}

void RecordingWriter::Flush() {
  if (!file_) return;
  const std::vector<std::uint8_t> events = encoder_->TakeEventBytes();
  const std::vector<RecordingFile::EventEnd> ends = std::move(eventEnds_);
  eventEnds_.clear();
  if (events.empty()) return;
  if (const auto problem = file_->Append(events, ends)) {
    // What reached the disk stays a complete log; nothing more is recorded until the next start.
    const auto outcome = file_->Finish(0);
    Report("recording ended, the disk refused more (" + *problem + "); " + outcome.path +
           " holds what was written");
    file_.reset();
    encoder_.reset();
    diskFailed_.store(true, std::memory_order_release);
    return;
  }
  if (!wroteEvents_) Report("recording into " + file_->Path());
  wroteEvents_ = true;
}

void RecordingWriter::End(std::uint32_t length) {
  if (!wroteEvents_ && length == 0) {
    file_->Discard();  // nothing happened: no file is worth keeping
  } else {
    const auto outcome = file_->Finish(length);
    Report(outcome.problem ? *outcome.problem : "recorded " + outcome.path);
  }
  file_.reset();
  encoder_.reset();
}

}  // namespace kestrel::recorder
