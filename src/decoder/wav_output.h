#pragma once
// The WAV file a decode writes: samples from offset 44 on, the header last.
//
// The samples go into a temporary file beside the target, which replaces the target only once
// the file is complete, so a decode that fails or dies midway leaves an earlier file of that
// name exactly as it was. (A character device such as /dev/null is written in place.)

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace kestrel {

class WavOutput {
 public:
  // Prepares `path`; nothing is replaced yet. On failure `error` says why: a target that is
  // a folder, a fifo or a block device, one without write permission, or the system's reason.
  static std::unique_ptr<WavOutput> Create(const std::string& path, std::string& error);
  // Without a successful Finish the temporary file is removed and the target left alone.
  ~WavOutput();
  WavOutput(const WavOutput&) = delete;
  WavOutput& operator=(const WavOutput&) = delete;

  // Appends sample bytes; false (with Error()) when the write fails.
  bool Write(const void* data, std::size_t size);
  std::uint32_t DataBytes() const { return dataBytes_; }
  // Writes the header for the bytes written, closes the file and puts it in the target's
  // place; false when any write, including ones the system had buffered, failed.
  bool Finish(std::uint32_t sampleRate);
  const std::string& Error() const { return error_; }
  const std::string& Path() const { return path_; }

 private:
  WavOutput(std::FILE* file, std::string path, std::string target, std::string temporary)
      : file_(file), path_(std::move(path)), target_(std::move(target)), temporary_(std::move(temporary)) {}
  bool Fail();

  std::FILE* file_;
  std::string path_;       // as asked for
  std::string target_;     // the file that is replaced: the path, or what its symbolic link names
  std::string temporary_;  // empty when the target is written in place
  std::uint32_t dataBytes_ = 0;
  std::string error_;
};

}  // namespace kestrel
