#pragma once
// Titles are raw bytes in a log, in the code page of the system that wrote them; these turn
// them into text a person can read, and text back into bytes a log can hold.

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrel {

bool IsValidUtf8(std::string_view bytes);

// Valid UTF-8 stays as it is. Otherwise bytes that form valid Shift-JIS (CP932, the code
// page of Japanese systems) with at least one double-byte character are read as that, and
// anything else as Windows-1252, the code page of the other systems of the era.
std::string TitleToUtf8(std::string_view bytes);

enum class TitleCodePage { Windows1252, ShiftJis };

struct EncodedTitle {
  std::string bytes;
  TitleCodePage codePage = TitleCodePage::Windows1252;
  std::string refusal;  // why the text cannot be a title, in words; empty when it can
};

// UTF-8 text as title bytes: Windows-1252 when every character fits it, else Shift-JIS
// when the bytes read back as the same text (so at least one character takes two bytes);
// other text is refused.
EncodedTitle EncodeTitle(std::string_view utf8);

// The longest prefix of UTF-8 `text` that fits in `maxBytes` without splitting a character.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

// The longest prefix of the title's bytes that fits in `maxBytes` without splitting a
// character of its code page.
std::string_view CutTitle(const EncodedTitle& title, std::size_t maxBytes);

}  // namespace kestrel
