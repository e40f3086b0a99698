// Any bytes as a title: the text shown is always valid UTF-8 (valid input unchanged), a
// title cut to its field is a whole-character prefix that fits, and so are its bytes when
// it is written back.

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

  // Written back, a title is cut within its bytes, and Shift-JIS reads back as the text.
  const kestrel::EncodedTitle title = kestrel::EncodeTitle(shown);
  const std::string_view written = kestrel::CutTitle(title, field);
  if (written.size() > field || title.bytes.compare(0, written.size(), written) != 0) std::abort();
  if (written.size() < title.bytes.size() && field - written.size() >= 2) std::abort();
  if (title.refusal.empty() && title.codePage == kestrel::TitleCodePage::ShiftJis &&
      kestrel::TitleToUtf8(title.bytes) != shown) {
    std::abort();
  }
  return 0;
}
