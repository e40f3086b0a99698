#include "spulog/log_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kestrel {
namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

SpuLogWriter::SpuLogWriter(LogFileType type)
    : type_(type), state_(kSoundRamSize + kRegisterImageSize, 0) {}

void SpuLogWriter::SetSoundRam(std::size_t offset, std::span<const std::uint8_t> bytes) {
  if (offset >= kSoundRamSize) return;
  const std::size_t n = std::min(bytes.size(), kSoundRamSize - offset);
  std::copy_n(bytes.begin(), n, state_.begin() + static_cast<std::ptrdiff_t>(offset));
}

void SpuLogWriter::SetRegister(std::uint32_t address, std::uint16_t value) {
  const std::size_t offset = kSoundRamSize + ((address - spu_reg::kBase) & (kRegisterImageSize - 2));
  state_[offset] = static_cast<std::uint8_t>(value);
  state_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void SpuLogWriter::SetHeader(std::string_view gameTitle, std::string_view musicTitle,
                             std::string_view copyright) {
  const auto field = [this](std::size_t offset, std::size_t size, std::string_view text) {
    std::fill_n(state_.begin() + static_cast<std::ptrdiff_t>(offset), size, 0);
    std::copy_n(text.begin(), std::min(text.size(), size - 1),
                state_.begin() + static_cast<std::ptrdiff_t>(offset));
  };
  field(0, 4, "SPU");
  field(kGameTitleOffset, kGameTitleSize, gameTitle);
  field(kMusicTitleOffset, kMusicTitleSize, musicTitle);
  field(kCopyrightOffset, kCopyrightSize, copyright);
}

void SpuLogWriter::AddU32(std::uint32_t value) { PutU32(events_, value); }

void SpuLogWriter::AddU16(std::uint16_t value) {
  events_.push_back(static_cast<std::uint8_t>(value));
  events_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void SpuLogWriter::AddEventHead(std::uint32_t time, LogEventCode code) {
  AddU32(time);
  AddU8(static_cast<std::uint8_t>(code));
  lastTime_ = time;
  ++records_;
}

void SpuLogWriter::AddRegisterWrite(std::uint32_t time, std::uint32_t address, std::uint16_t value) {
  if (type_ == LogFileType::Old) {
    AddU32(time);
    AddU32(address);
    AddU32(value);
    lastTime_ = time;
    ++records_;
    return;
  }
  AddEventHead(time, LogEventCode::RegisterWrite);
  AddU32(address);
  AddU16(value);
}

void SpuLogWriter::AddRegisterRead(std::uint32_t time, std::uint32_t address) {
  AddEventHead(time, LogEventCode::RegisterRead);
  AddU32(address);
}

void SpuLogWriter::AddDmaWrite(std::uint32_t time, std::span<const std::uint16_t> words) {
  AddEventHead(time, LogEventCode::DmaWrite);
  AddU32(static_cast<std::uint32_t>(words.size()));
  for (const std::uint16_t w : words) AddU16(w);
}

void SpuLogWriter::AddDmaRead(std::uint32_t time, std::uint32_t words) {
  AddEventHead(time, LogEventCode::DmaRead);
  AddU32(words);
}

void SpuLogWriter::AddXaBlock(std::uint32_t time, std::span<const std::uint8_t> block) {
  AddEventHead(time, LogEventCode::XaBlock);
  const std::size_t n = std::min(block.size(), kXaBlockSize);
  events_.insert(events_.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(n));
  events_.resize(events_.size() + (kXaBlockSize - n), 0);
}

void SpuLogWriter::AddCdAudio(std::uint32_t time, std::span<const std::uint8_t> pcm) {
  AddEventHead(time, LogEventCode::CdAudio);
  AddU32(static_cast<std::uint32_t>(pcm.size()));
  events_.insert(events_.end(), pcm.begin(), pcm.end());
}

void SpuLogWriter::AddRawBytes(std::span<const std::uint8_t> bytes) {
  events_.insert(events_.end(), bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> SpuLogWriter::HeadBytes() const {
  std::vector<std::uint8_t> out;
  out.reserve(state_.size() + 8);
  out.insert(out.end(), state_.begin(), state_.end());
  if (type_ == LogFileType::Old) {
    PutU32(out, kOldFormatMarker);
    PutU32(out, countOverride_.value_or(static_cast<std::uint32_t>(records_)));
  } else {
    PutU32(out, totalLength_);
  }
  return out;
}

std::vector<std::uint8_t> SpuLogWriter::Bytes() const {
  std::vector<std::uint8_t> out = HeadBytes();
  out.insert(out.end(), events_.begin(), events_.end());
  return out;
}

std::vector<std::uint8_t> SpuLogWriter::TakeEventBytes() {
  std::vector<std::uint8_t> taken;
  taken.swap(events_);
  return taken;
}

std::optional<std::string> SpuLogWriter::WriteFile(const std::string& path, bool gzip) const {
  const std::vector<std::uint8_t> bytes = Bytes();
  if (gzip) {
    gzFile out = ::gzopen(path.c_str(), "wb9");
    if (out == nullptr) return "cannot create " + path + ": " + std::strerror(errno);
    const int written = ::gzwrite(out, bytes.data(), static_cast<unsigned>(bytes.size()));
    const int closed = ::gzclose(out);
    if (written != static_cast<int>(bytes.size()) || closed != Z_OK) return "cannot write " + path;
    return std::nullopt;
  }
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return "cannot create " + path + ": " + std::strerror(errno);
  const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), out);
  const bool closed = std::fclose(out) == 0;
  if (written != bytes.size() || !closed) return "cannot write " + path;
  return std::nullopt;
}

}  // namespace kestrel
