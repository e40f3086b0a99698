#include "plugin/dynamic_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace kestrel {

DynamicLibrary DynamicLibrary::Open(const std::string& path) {
  DynamicLibrary library;
  // A bare file name would send dlopen searching the system's library folders.
  const std::string local = path.find('/') == std::string::npos ? "./" + path : path;
  // dlopen on a FIFO or a device blocks for ever, so only regular files are tried.
  struct stat info {};
  if (::stat(local.c_str(), &info) != 0) {
    library.error_ = path + ": " + std::strerror(errno);
    return library;
  }
  if (!S_ISREG(info.st_mode)) {
    library.error_ = path + ": not a regular file";
    return library;
  }
  library.load(local, path);
  return library;
}

DynamicLibrary DynamicLibrary::OpenInstalled(const std::string& soname) {
  DynamicLibrary library;
  library.load(soname, soname);
  return library;
}

void DynamicLibrary::load(const std::string& file, const std::string& name) {
  handle_ = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* error = ::dlerror();
    error_ = error != nullptr ? error : "cannot load " + name;
  }
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) ::dlclose(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
    error_ = std::move(other.error_);
  }
  return *this;
}

DynamicLibrary::~DynamicLibrary() {
  if (handle_ != nullptr) ::dlclose(handle_);
}

void* DynamicLibrary::Symbol(const char* name) const {
  return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace kestrel
