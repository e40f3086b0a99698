#include "decoder/wav_output.h"

#include <cerrno>
#include <cstring>

#include "decoder/wav_header.h"

namespace kestrel {

std::unique_ptr<WavOutput> WavOutput::Create(const std::string& path, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  // Chunks are 128 bytes: a large buffer keeps the decoder out of the kernel.
  if (file != nullptr) std::setvbuf(file, nullptr, _IOFBF, 1 << 20);
  if (file == nullptr || std::fseek(file, static_cast<long>(kWavHeaderSize), SEEK_SET) != 0) {
    error = std::strerror(errno);
    if (file != nullptr) std::fclose(file);
    return nullptr;
  }
  return std::unique_ptr<WavOutput>(new WavOutput(file, path));
}

WavOutput::~WavOutput() {
  if (file_ != nullptr) std::fclose(file_);
}

bool WavOutput::Fail() {
  if (error_.empty()) error_ = std::strerror(errno != 0 ? errno : EIO);
  return false;
}

bool WavOutput::Write(const void* data, std::size_t size) {
  if (file_ == nullptr || !error_.empty()) return false;
  errno = 0;
  if (std::fwrite(data, 1, size, file_) != size) return Fail();
  dataBytes_ += static_cast<std::uint32_t>(size);
  return true;
}

bool WavOutput::Finish(std::uint32_t sampleRate) {
  if (file_ == nullptr) return false;
  errno = 0;
  const bool written = error_.empty() && WriteWavHeader(file_, sampleRate, dataBytes_) && std::fflush(file_) == 0;
  const int saved = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!written || !closed) {
    errno = saved;
    return Fail();
  }
  return true;
}

}  // namespace kestrel
