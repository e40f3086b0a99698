#pragma once
// The WAV file a decode writes: samples from offset 44 on, the header last.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace kestrel {

class WavOutput {
 public:
  // Creates (or truncates) `path`; on failure `error` says why.
  static std::unique_ptr<WavOutput> Create(const std::string& path, std::string& error);
  ~WavOutput();
  WavOutput(const WavOutput&) = delete;
  WavOutput& operator=(const WavOutput&) = delete;

  // Appends sample bytes; false (with Error()) when the write fails.
  bool Write(const void* data, std::size_t size);
  std::uint32_t DataBytes() const { return dataBytes_; }
  // Writes the header for the bytes written and closes the file; false when any write,
  // including ones the system had buffered, failed.
  bool Finish(std::uint32_t sampleRate);
  const std::string& Error() const { return error_; }
  const std::string& Path() const { return path_; }

 private:
  WavOutput(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}
  bool Fail();

  std::FILE* file_;
  std::string path_;
  std::uint32_t dataBytes_ = 0;
  std::string error_;
};

}  // namespace kestrel
