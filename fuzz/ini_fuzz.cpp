// Any bytes as config.ini or a playlist: reading never fails, and what a write produces
// reads back as written.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kestrel::IniDocument doc;
  doc.Parse(text);
  (void)doc.GetInt("Kestrel SPU Player", "PlayBackTempo", 5);
  const std::string folder = doc.GetString("Kestrel SPU Player", "SPUFileFolder");
  if (folder.size() > kestrel::kProfileStringLimit) std::abort();
  for (const std::string& key : doc.Keys("Kestrel SPU Player PlayList")) (void)doc.Find("Kestrel SPU Player PlayList", key);

  const std::string value(text.substr(0, 64));
  doc.Set("PlayList", "PlayListPath[1]", value);
  kestrel::IniDocument again;
  again.Parse(doc.Serialize());
  const auto stored = again.Find("PlayList", "PlayListPath[1]");
  if (!stored) std::abort();
  return 0;
}
