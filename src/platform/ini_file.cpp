#include "platform/ini_file.h"

#include "platform/file_replace.h"

// Narrow text only: the files are bytes, shown as they are.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION  // this packaging of the header keeps its template bodies behind this switch
#include <SimpleIni.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <mutex>

namespace kestrel {
namespace {

using Ini = CSimpleIniA;  // names match without regard to case

// One lock for every INI access of the process, whichever file it names.
std::mutex& IniLock() {
  static std::mutex lock;
  return lock;
}

// The whole file; empty when it is missing, unreadable or not a regular file (a fifo must
// not block start-up).
std::string ReadWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  std::string text;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    char buffer[16384];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return text;
}

// A value must stay on its line, or it would add keys of its own to the file.
std::string OneLine(std::string_view value) {
  std::string line(value);
  std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return line;
}

std::string Cut(std::string text) {
  if (text.size() > kProfileStringLimit) text.resize(kProfileStringLimit);
  return text;
}

}  // namespace

struct IniDocument::Impl {
  Ini ini{/*isUtf8=*/false, /*multiKey=*/true, /*multiLine=*/false};
};

IniDocument::IniDocument() : impl_(std::make_unique<Impl>()) { impl_->ini.SetSpaces(false); }
IniDocument::~IniDocument() = default;
IniDocument::IniDocument(IniDocument&&) noexcept = default;
IniDocument& IniDocument::operator=(IniDocument&&) noexcept = default;

void IniDocument::Parse(std::string_view text) {
  impl_->ini.Reset();
  if (!text.empty()) (void)impl_->ini.LoadData(text.data(), text.size());
}

std::string IniDocument::Serialize() const {
  std::string text;
  (void)impl_->ini.Save(text, /*addSignature=*/false);
  return text;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
  // With duplicate keys the first one counts, as the profile functions read it.
  const char* value = impl_->ini.GetValue(std::string(section).c_str(), std::string(key).c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

int ParseProfileInt(std::string_view value) {
  std::size_t i = 0;
  while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
  long long number = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    number = std::min<long long>(number * 10 + (value[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  if (negative) number = -number;
  return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

int IniDocument::GetInt(std::string_view section, std::string_view key, int defaultValue) const {
  const auto value = Find(section, key);
  return value ? ParseProfileInt(*value) : defaultValue;
}

std::string IniDocument::GetString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
  return Cut(Find(section, key).value_or(std::string(defaultValue)));
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
  Ini::TNamesDepend keys;
  impl_->ini.GetAllKeys(std::string(section).c_str(), keys);
  keys.sort(Ini::Entry::LoadOrder());
  std::vector<std::string> names;
  for (const auto& key : keys) names.emplace_back(key.pItem);
  return names;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  impl_->ini.SetValue(std::string(section).c_str(), std::string(key).c_str(), OneLine(value).c_str(),
                      nullptr, /*forceReplace=*/true);
}

void IniDocument::Remove(std::string_view section, std::string_view key) {
  impl_->ini.Delete(std::string(section).c_str(), std::string(key).c_str(), /*removeEmpty=*/false);
}

std::string IniFile::ReadFailure() const {
  struct stat info {};
  if (::stat(path_.c_str(), &info) != 0) return errno == ENOENT ? std::string() : DescribeError(errno);
  if (S_ISDIR(info.st_mode)) return DescribeError(EISDIR);
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return DescribeError(errno);
  ::close(fd);
  return {};
}

IniDocument IniFile::Read() const {
  IniDocument document;
  std::lock_guard lock(IniLock());
  document.Parse(ReadWholeFile(path_));
  return document;
}

int IniFile::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
  return Read().GetInt(section, key, defaultValue);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  return Read().GetString(section, key, defaultValue);
}

WriteResult IniFile::Edit(const std::function<void(IniDocument&)>& edit) const {
  std::lock_guard lock(IniLock());
  IniDocument document;
  document.Parse(ReadWholeFile(path_));
  edit(document);
  const std::string text = document.Serialize();
  return ReplaceFile(path_, [&text](int fd) { return WriteAll(fd, text.data(), text.size()); });
}

bool IniFile::Update(const std::function<void(IniDocument&)>& edit) const { return static_cast<bool>(Edit(edit)); }

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) const {
  return Update([&](IniDocument& document) { document.Set(section, key, value); });
}

bool IniFile::WriteInt(std::string_view section, std::string_view key, int value) const {
  return WriteString(section, key, std::to_string(value));
}

}  // namespace kestrel
