#include "cli/flac_output.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace kestrel::cli {
namespace {

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using Sndfile = std::unique_ptr<SNDFILE, SndfileCloser>;

bool Encode(const std::string& wav, int flacFd, std::string& error) {
  SF_INFO in{};
  const Sndfile source(sf_open(wav.c_str(), SFM_READ, &in));
  if (!source) {
    error = "can't read " + wav + " : " + sf_strerror(nullptr);
    return false;
  }
  SF_INFO out{};
  out.samplerate = in.samplerate;
  out.channels = in.channels;
  out.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
  Sndfile target(sf_open_fd(flacFd, SFM_WRITE, &out, SF_FALSE));
  if (!target) {
    error = std::string("can't start the FLAC stream : ") + sf_strerror(nullptr);
    return false;
  }
  std::vector<short> block(static_cast<std::size_t>(4096 * in.channels));
  for (sf_count_t got; (got = sf_readf_short(source.get(), block.data(), 4096)) > 0;) {
    if (sf_writef_short(target.get(), block.data(), got) != got) {
      error = std::string("can't write the FLAC file : ") + sf_strerror(target.get());
      return false;
    }
  }
  // Closing writes the stream's last frame and its header; a full disk shows here.
  if (sf_close(target.release()) != 0) {
    error = "can't finish the FLAC file";
    return false;
  }
  return true;
}

}  // namespace

bool WriteFlacCopy(const std::string& wav, const std::string& flac, std::string& error) {
  const int fd = ::open(flac.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = "can't create " + flac + " : " + std::strerror(errno);
    return false;
  }
  bool ok = Encode(wav, fd, error);
  if (ok && ::fsync(fd) != 0) {
    error = "can't write " + flac + " : " + std::strerror(errno);
    ok = false;
  }
  ::close(fd);
  if (!ok) ::unlink(flac.c_str());
  return ok;
}

}  // namespace kestrel::cli
