#include "support/recording_plugin_client.h"

#include <sstream>
#include <stdexcept>

namespace kestrel::test {

RecordingPluginClient::RecordingPluginClient(const std::string& path)
    : library_(DynamicLibrary::Open(path)) {
  if (!library_.IsLoaded()) throw std::runtime_error("cannot load " + path + ": " + library_.Error());
}

void RecordingPluginClient::Reset() const { library_.Entry<void (*)()>("RecordingPluginReset")(); }

std::string RecordingPluginClient::Calls() const {
  return library_.Entry<const char* (*)()>("RecordingPluginCalls")();
}

std::vector<std::string> RecordingPluginClient::CallLines() const {
  std::vector<std::string> lines;
  std::istringstream in(Calls());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace kestrel::test
