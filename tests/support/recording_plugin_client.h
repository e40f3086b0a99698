#pragma once
// Reads back what the recording test plugin was called with.

#include <string>
#include <vector>

#include "plugin/dynamic_library.h"

namespace kestrel::test {

class RecordingPluginClient {
 public:
  // Holds the library open, so the plugin's record survives the code under test
  // loading and unloading it.
  explicit RecordingPluginClient(const std::string& path);

  void Reset() const;
  std::string Calls() const;
  std::vector<std::string> CallLines() const;

 private:
  DynamicLibrary library_;
};

}  // namespace kestrel::test
