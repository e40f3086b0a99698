#include "cli/flac_output.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "plugin/dynamic_library.h"

namespace kestrel::cli {
namespace {

// libsndfile, loaded by the first FLAC encoding: every other command starts without it and the
// codec libraries behind it, which made up half the time of every start.
struct SndfileApi {
  decltype(&sf_open) open;
  decltype(&sf_open_fd) openFd;
  decltype(&sf_strerror) strerror;
  decltype(&sf_readf_short) readfShort;
  decltype(&sf_writef_short) writefShort;
  decltype(&sf_close) close;
};

// Null, with `error` saying why, when it cannot be loaded or lacks a function.
const SndfileApi* Sndfile(std::string& error) {
  static const DynamicLibrary library = DynamicLibrary::OpenInstalled("libsndfile.so.1");
  static SndfileApi api{};
  static const bool complete = [] {
    bool all = true;
    const auto bind = [&all](auto& function, const char* name) {
      function = library.Entry<std::remove_reference_t<decltype(function)>>(name);
      all = all && function != nullptr;
    };
    bind(api.open, "sf_open");
    bind(api.openFd, "sf_open_fd");
    bind(api.strerror, "sf_strerror");
    bind(api.readfShort, "sf_readf_short");
    bind(api.writefShort, "sf_writef_short");
    bind(api.close, "sf_close");
    return all;
  }();
  if (!library.IsLoaded()) {
    error = "can't encode FLAC : " + library.Error();
    return nullptr;
  }
  if (!complete) {
    error = "can't encode FLAC : libsndfile.so.1 lacks a function it needs";
    return nullptr;
  }
  return &api;
}

bool Encode(const SndfileApi& sf, const std::string& wav, int flacFd, std::string& error) {
  const auto closer = [&sf](SNDFILE* file) { sf.close(file); };
  using File = std::unique_ptr<SNDFILE, decltype(closer)>;
  SF_INFO in{};
  const File source(sf.open(wav.c_str(), SFM_READ, &in), closer);
  if (!source) {
    error = "can't read " + wav + " : " + sf.strerror(nullptr);
    return false;
  }
  SF_INFO out{};
  out.samplerate = in.samplerate;
  out.channels = in.channels;
  out.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
  File target(sf.openFd(flacFd, SFM_WRITE, &out, SF_FALSE), closer);
  if (!target) {
    error = std::string("can't start the FLAC stream : ") + sf.strerror(nullptr);
    return false;
  }
  std::vector<short> block(static_cast<std::size_t>(4096 * in.channels));
  for (sf_count_t got; (got = sf.readfShort(source.get(), block.data(), 4096)) > 0;) {
    if (sf.writefShort(target.get(), block.data(), got) != got) {
      error = std::string("can't write the FLAC file : ") + sf.strerror(target.get());
      return false;
    }
  }
  // Closing writes the stream's last frame and its header; a full disk shows here.
  if (sf.close(target.release()) != 0) {
    error = "can't finish the FLAC file";
    return false;
  }
  return true;
}

}  // namespace

bool WriteFlacCopy(const std::string& wav, const std::string& flac, std::string& error) {
  const SndfileApi* sf = Sndfile(error);
  if (sf == nullptr) return false;
  const int fd = ::open(flac.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = "can't create " + flac + " : " + std::strerror(errno);
    return false;
  }
  bool ok = Encode(*sf, wav, fd, error);
  if (ok && ::fsync(fd) != 0) {
    error = "can't write " + flac + " : " + std::strerror(errno);
    ok = false;
  }
  ::close(fd);
  if (!ok) ::unlink(flac.c_str());
  return ok;
}

}  // namespace kestrel::cli
