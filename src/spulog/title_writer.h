#pragma once
// Writing a log's three titles into the title block at the start of its state image.
// Titles go only into a plain log (never a compressed one, a text file or a WAV), and a
// field the user did not change keeps its bytes exactly.

#include <optional>
#include <string>
#include <vector>

#include "platform/file_replace.h"

namespace kestrel {

// The new titles, UTF-8; a field left empty keeps what the file holds. In a file without a
// title block every field is written (an empty one as empty), behind the signature "SPU".
struct TitleEdits {
  std::optional<std::string> gameTitle;
  std::optional<std::string> musicTitle;
  std::optional<std::string> copyright;
};

// Why the titles of `path` may not be written, in words ("it holds gzip-compressed data"),
// or empty when they may. Written are only regular files with a write bit, named as plain
// logs, at least as long as a new-format log's state and discriminator, without the gzip
// magic and whose discriminator names a format.
std::string TitleWriteRefusal(const std::string& path);

// Why a title cannot be written, naming its field ("GameTitle: ..."), or empty when every
// edit can. A title is written in Windows-1252 when it fits, else in Shift-JIS.
std::string TitleTextRefusal(const TitleEdits& edits);

// A line for each field whose bytes, in the code page written, are more than its field
// can hold: "GameTitle is cut to 63 bytes to fit its 64-byte field".
std::vector<std::string> TitleCutNotes(const TitleEdits& edits);

// Writes the edits (each cut at a character boundary to its field's length minus one and
// zero-filled), refusing them all when one cannot be written. The file is replaced as a whole, so a failed write leaves it as it was.
WriteResult WriteTitles(const std::string& path, const TitleEdits& edits);

}  // namespace kestrel
