#pragma once
// The header information editor: shows a log's three titles and writes them back into the
// title block at the start of the file.

#include <string>

namespace kestrel {

inline constexpr const char* kCompressedWarning = "Warning : File is Compressed!";

struct HeaderEditorFields {
  std::string fileName;
  std::string path;
  std::string gameTitle;  // shown as UTF-8
  std::string musicTitle;
  std::string copyright;
  bool compressed = false;  // by its name: the fields are disabled too
  std::string saveRefusal;  // why Save is disabled, in words; empty when it is enabled
  std::string statusText;   // empty, the compressed warning, or the refusal
};

// Opening on the selected entry (its name and path).
HeaderEditorFields OpenHeaderEditor(const std::string& name, const std::string& path);

enum class HeaderSaveResult {
  Saved,
  Declined,     // No to "Save Header Information, OK?": the dialog stays open
  Refused,      // a compressed log, no plain log that may be written, or a title no code page
                // of a log holds (said through the message port): never written
  WriteFailed,  // reported on the console and through the message port; the dialog stays open
};

// Save: asks for confirmation, then writes the titles the user changed from those the
// editor opened with (see WriteTitles); the others keep their bytes. Titles cut to their
// field and a failure are reported through the message port.
HeaderSaveResult SaveHeaderInformation(const HeaderEditorFields& opened, const std::string& gameTitle,
                                       const std::string& musicTitle, const std::string& copyright);

}  // namespace kestrel
