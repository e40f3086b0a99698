#pragma once
// The INI files of the program (config.ini and the playlists), read and written with the
// semantics of the Windows profile functions: section and key names match without regard
// to case, the first of duplicate keys wins, and every access goes to the file on disk.
// All accesses of the process are serialised by one lock, and every write replaces the
// file atomically (a temporary file renamed over it), so no reader and no crash ever sees
// half a file; a failed write leaves the old file as it was.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_replace.h"

namespace kestrel {

// Strings come back as a 255-byte buffer of the profile functions held them.
inline constexpr std::size_t kProfileStringLimit = 254;

// One snapshot of an INI file, for the reads and edits of a single access.
class IniDocument {
 public:
  IniDocument();
  ~IniDocument();
  IniDocument(IniDocument&&) noexcept;
  IniDocument& operator=(IniDocument&&) noexcept;

  // Any bytes at all; lines that are not sections or "key=value" are ignored.
  void Parse(std::string_view text);
  std::string Serialize() const;

  // The raw value, or nullopt when the key (or its section) is absent.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // Integer form: the default when absent, else the signed decimal number at the start of
  // the value, or 0 when it does not begin with one.
  int GetInt(std::string_view section, std::string_view key, int defaultValue) const;
  // String form: the default when absent; at most kProfileStringLimit bytes either way.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view defaultValue = {}) const;
  // Keys of a section in file order (their spelling as stored).
  std::vector<std::string> Keys(std::string_view section) const;

  void Set(std::string_view section, std::string_view key, std::string_view value);
  void Remove(std::string_view section, std::string_view key);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The number at the start of a profile value, as the integer reads take it.
int ParseProfileInt(std::string_view value);

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }

  // A missing or unreadable file reads as empty.
  IniDocument Read() const;
  // Why a file that is there cannot be read ("is a directory", "permission denied"); empty
  // when it can, and when it is missing, which only means the defaults.
  std::string ReadFailure() const;
  int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue = {}) const;

  // One write access: false when the file (or its folder) cannot be written, and then
  // the file is unchanged. Creates the file, section and key as needed.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;
  bool WriteInt(std::string_view section, std::string_view key, int value) const;
  // Several edits made as one access and one replacement of the file.
  bool Update(const std::function<void(IniDocument&)>& edit) const;
  // The same, saying why a failed write failed.
  WriteResult Edit(const std::function<void(IniDocument&)>& edit) const;

 private:
  std::string path_;
};

}  // namespace kestrel
