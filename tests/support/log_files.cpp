#include "support/log_files.h"

#include <zlib.h>

#include <stdexcept>

namespace kestrel::test {

std::string WriteLog(const TempFolder& folder, const std::string& name, const SpuLogWriter& writer,
                     bool gzip) {
  const std::string path = folder / name;
  if (const auto error = writer.WriteFile(path, gzip)) throw std::runtime_error(*error);
  return path;
}

std::vector<std::uint8_t> Gzip(const std::vector<std::uint8_t>& bytes) {
  z_stream stream{};
  if (deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  std::vector<std::uint8_t> out(deflateBound(&stream, bytes.size()));
  stream.next_in = const_cast<Bytef*>(bytes.data());
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

SpuLogWriter OneRecordOldLog(std::uint32_t time) {
  SpuLogWriter writer(LogFileType::Old);
  writer.AddRegisterWrite(time, 0x1F801C00, 0x3FFF);
  return writer;
}

SpuLogWriter NewFormatLog(std::uint32_t total) {
  SpuLogWriter writer(LogFileType::New);
  writer.SetTotalLength(total);
  return writer;
}

std::vector<LogEvent> ReadAllEvents(LoadedLog& log) {
  std::vector<LogEvent> events;
  LogEventReader reader(log.file, log.type);
  for (LogEvent event; reader.Next(event);) events.push_back(event);
  return events;
}

std::vector<std::string> EntryNames(const EntryList& list) {
  std::vector<std::string> names;
  for (const auto& e : list.Entries()) names.push_back(e.name);
  return names;
}

std::string WriteTestLog(const TempFolder& folder, std::string_view name, const TestLog& log) {
  SpuLogWriter writer = NewFormatLog(log.samples);
  if (log.withHeader) writer.SetHeader(log.gameTitle, log.musicTitle, log.copyright);
  writer.AddRegisterWrite(0, 0x1F801D80, 0x3FFF);
  return WriteLog(folder, std::string(name), writer, log.gzip);
}

}  // namespace kestrel::test
