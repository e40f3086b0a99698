#pragma once
// The header information editor: shows a log's three titles and writes them back in place
// into the title block at the start of the file.

#include <string>

namespace kestrel {

inline constexpr const char* kCompressedWarning = "Warning : File is Compressed!";

struct HeaderEditorFields {
  std::string fileName;
  std::string path;
  std::string gameTitle;  // shown as UTF-8
  std::string musicTitle;
  std::string copyright;
  bool compressed = false;  // Save and the fields are disabled
  std::string statusText;   // empty, or the compressed warning
};

// Opening on the selected entry (its name and path).
HeaderEditorFields OpenHeaderEditor(const std::string& name, const std::string& path);

enum class HeaderSaveResult {
  Saved,
  Declined,     // No to "Save Header Information, OK?": the dialog stays open
  Compressed,   // a compressed log is never written
  WriteFailed,  // reported on the console and through the message port; the dialog stays open
};

// Save: asks for confirmation, then writes "SPU\0" and the three titles (UTF-8, cut at a
// character boundary to 63, 63 and 31 bytes, zero-filled) at offsets 0, 4, 68 and 132 of the
// existing file. The file is neither created, truncated nor extended; nothing else changes.
HeaderSaveResult SaveHeaderInformation(const std::string& path, const std::string& gameTitle,
                                       const std::string& musicTitle, const std::string& copyright);

// The write alone, without the question: false when the file cannot be written.
bool WriteHeaderInformation(const std::string& path, const std::string& gameTitle,
                            const std::string& musicTitle, const std::string& copyright);

}  // namespace kestrel
