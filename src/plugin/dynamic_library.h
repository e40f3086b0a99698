#pragma once
// One loaded shared library, unloaded when the object goes.

#include <string>

namespace kestrel {

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  // Loads `path` with every symbol bound now, so that a library with a missing
  // dependency or unresolved symbol fails here and not in the middle of a call.
  static DynamicLibrary Open(const std::string& path);
  // A library of the system by its soname ("libsndfile.so.1"), found where the loader looks.
  static DynamicLibrary OpenInstalled(const std::string& soname);

  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  ~DynamicLibrary();

  bool IsLoaded() const { return handle_ != nullptr; }
  // Why loading failed, as the system loader said it.
  const std::string& Error() const { return error_; }

  void* Symbol(const char* name) const;
  template <typename Function>
  Function Entry(const char* name) const {
    return reinterpret_cast<Function>(Symbol(name));
  }

 private:
  void load(const std::string& file, const std::string& name);  // `name` for the message

  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace kestrel
