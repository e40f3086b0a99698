#pragma once
// The optional title block at the start of a log's sound RAM image.

#include <string>

namespace kestrel {

// Titles are the file's bytes, up to their NUL (see TitleToUtf8 for display).
struct HeaderInformation {
  bool present = false;  // byte 0 of the file is 'S'
  std::string signature;
  std::string gameTitle;
  std::string musicTitle;
  std::string copyright;
};

// A file that cannot be opened reads as having no header block.
HeaderInformation ReadHeaderInformation(const std::string& path);

}  // namespace kestrel
