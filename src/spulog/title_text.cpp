#include "spulog/title_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace kestrel {
namespace {

// Windows-1252 0x80..0x9F; the five unassigned bytes map to their C1 code points,
// as Windows' own conversion does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Length of the well-formed UTF-8 sequence at `i`, or 0 when there is none.
std::size_t SequenceLength(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
  const std::uint8_t lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  }
  return length;
}

char32_t CodePointAt(std::string_view s, std::size_t i, std::size_t length) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[i + k]); };
  if (length == 1) return byte(0);
  char32_t c = byte(0) & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (byte(k) & 0x3F);
  return c;
}

std::optional<char> Windows1252Byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t k = 0; k < std::size(kCp1252High); ++k) {
    if (kCp1252High[k] == c) return static_cast<char>(0x80 + k);
  }
  return std::nullopt;
}

// glibc's converter (its gconv modules come with libc); nullopt when `bytes` is not valid
// in `from`, holds a character `to` has no form for, or there is no such converter.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view bytes) {
  const iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(bytes.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* at = out.data();
  std::size_t outLeft = out.size();
  const bool ok = ::iconv(cd, &in, &inLeft, &at, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
  ::iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

bool IsShiftJisLead(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool HasDoubleByteCharacter(std::string_view shiftJis) {
  for (const char ch : shiftJis) {
    if (IsShiftJisLead(static_cast<std::uint8_t>(ch))) return true;
  }
  return false;
}

// Valid UTF-8 as Windows-1252, or nullopt when a character is not in it.
std::optional<std::string> ToWindows1252(std::string_view utf8) {
  std::string bytes;
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size(); i += n) {
    n = SequenceLength(utf8, i);
    const std::optional<char> byte = Windows1252Byte(CodePointAt(utf8, i, n));
    if (!byte) return std::nullopt;
    bytes += *byte;
  }
  return bytes;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char ch : bytes) {
    const auto b = static_cast<std::uint8_t>(ch);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char32_t{b});
  }
  return out;
}

// Names a character for a message: `"α" (U+03B1)`.
std::string Describe(std::string_view character, char32_t c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  return "\"" + std::string(character) + "\" (" + code + ")";
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = SequenceLength(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string TitleToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  // Single bytes alone say nothing: Windows-1252 letters are half-width katakana there.
  if (HasDoubleByteCharacter(bytes)) {
    if (std::optional<std::string> text = Convert("UTF-8", "CP932", bytes)) return std::move(*text);
  }
  return Windows1252ToUtf8(bytes);
}

EncodedTitle EncodeTitle(std::string_view utf8) {
  if (!IsValidUtf8(utf8)) return {{}, TitleCodePage::Windows1252, "it is not valid UTF-8 text"};
  if (std::optional<std::string> bytes = ToWindows1252(utf8)) return {std::move(*bytes), TitleCodePage::Windows1252, {}};

  EncodedTitle title{{}, TitleCodePage::ShiftJis, {}};
  const std::optional<std::string> shiftJis = Convert("CP932", "UTF-8", utf8);
  if (!shiftJis) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); i += n) {
      n = SequenceLength(utf8, i);
      const std::string_view character = utf8.substr(i, n);
      if (Convert("CP932", "UTF-8", character)) continue;
      title.refusal = Describe(character, CodePointAt(utf8, i, n)) +
                      (ToWindows1252(character) ? " is not in Shift-JIS, which the rest of the text needs"
                                                : " is in neither Windows-1252 nor Shift-JIS");
      return title;
    }
    title.refusal = "Shift-JIS cannot hold it";  // only without a converter for it
    return title;
  }
  // A reader takes these bytes for Shift-JIS only when they read back as the text.
  if (std::string back = TitleToUtf8(*shiftJis); back != utf8) {
    title.refusal = "as Shift-JIS it would read back as \"" + back + "\"";
    return title;
  }
  title.bytes = *shiftJis;
  return title;
}

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  // Step back over continuation bytes to the start of the character that does not fit.
  while (end > 0 && (static_cast<std::uint8_t>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

std::string_view CutTitle(const EncodedTitle& title, std::size_t maxBytes) {
  const std::string_view bytes = title.bytes;
  if (bytes.size() <= maxBytes) return bytes;
  if (title.codePage == TitleCodePage::Windows1252) return bytes.substr(0, maxBytes);
  std::size_t end = 0;
  while (end < bytes.size()) {
    const std::size_t next = end + (IsShiftJisLead(static_cast<std::uint8_t>(bytes[end])) ? 2 : 1);
    if (next > maxBytes) break;
    end = next;
  }
  return bytes.substr(0, end);
}

}  // namespace kestrel
