#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // `<folder>/<name>`.
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

  // Writes a file (creating parent folders) and returns its path.
  std::string Write(std::string_view name, const std::vector<std::uint8_t>& bytes) const;
  std::string Write(std::string_view name, std::string_view text) const;

 private:
  std::string path_;
};

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
// The little-endian 32-bit value at `at`.
std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at);

}  // namespace kestrel::test
