// Any bytes as a title: the text shown is always valid UTF-8 (valid input unchanged), and
// a title cut to its field is a whole-character prefix that fits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "spulog/title_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t field = data[0] % 80;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::string shown = kestrel::TitleToUtf8(bytes);
  if (!kestrel::IsValidUtf8(shown)) std::abort();
  if (kestrel::IsValidUtf8(bytes) && shown != bytes) std::abort();

  const std::string_view cut = kestrel::CutUtf8(shown, field);
  if (cut.size() > field || shown.compare(0, cut.size(), cut) != 0 || !kestrel::IsValidUtf8(cut)) std::abort();
  // Nothing more than the one character that did not fit is dropped.
  if (cut.size() < shown.size() && field - cut.size() >= 4) std::abort();
  return 0;
}
