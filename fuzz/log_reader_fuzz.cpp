// Feeds arbitrary bytes to every log reader: the loader, the length and title readers and
// the event reader, plain and gzip-compressed.
//
// The input's first byte picks how the log is built, so short inputs still reach the
// event stream: a zero state image of 524,800 bytes is put in front of the rest, or the
// rest is taken as the whole file; either may then be gzip-compressed.

#include <sys/mman.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "spulog/header_information.h"
#include "spulog/log_events.h"
#include "spulog/log_length.h"
#include "spulog/log_loader.h"

namespace {

std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& bytes) {
  uLongf size = compressBound(bytes.size()) + 32;
  std::vector<std::uint8_t> out(size);
  z_stream s{};
  deflateInit2(&s, 1, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  s.next_in = const_cast<Bytef*>(bytes.data());
  s.avail_in = static_cast<uInt>(bytes.size());
  s.next_out = out.data();
  s.avail_out = static_cast<uInt>(out.size());
  deflate(&s, Z_FINISH);
  out.resize(s.total_out);
  deflateEnd(&s);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t mode = data[0];
  std::vector<std::uint8_t> file;
  if ((mode & 1) != 0) file.assign(kestrel::kDiscriminatorOffset, 0);
  if ((mode & 4) != 0 && !file.empty()) file[0] = 'S';
  file.insert(file.end(), data + 1, data + size);
  if ((mode & 2) != 0) file = Compress(file);

  static const int fd = ::memfd_create("log", 0);
  ::ftruncate(fd, 0);
  ::pwrite(fd, file.data(), file.size(), 0);
  const std::string path = "/proc/self/fd/" + std::to_string(fd);

  (void)kestrel::ReadLogLength(path);
  (void)kestrel::ReadHeaderInformation(path);
  auto result = kestrel::LoadSpuLog(path);
  if (auto* log = std::get_if<kestrel::LoadedLog>(&result)) {
    kestrel::LogEventReader reader(log->file, log->type);
    kestrel::LogEvent event;
    for (int i = 0; i < 10000 && reader.Next(event); ++i) {
      (void)kestrel::InvalidEventLine(event);
    }
  }
  return 0;
}
