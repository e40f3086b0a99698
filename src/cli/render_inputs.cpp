#include "cli/render_inputs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/directory_listing.h"
#include "playlist/playlist_file.h"

namespace kestrel::cli {
namespace {

void AddFolder(const std::string& folder, std::vector<RenderInput>& inputs) {
  if (::access(folder.c_str(), R_OK | X_OK) != 0) {
    inputs.push_back({folder, "can't read the folder : " + std::string(std::strerror(errno))});
    return;
  }
  std::vector<std::string> names = ListFilesWithExtension(folder, ".spu");
  for (std::string& name : ListFilesWithExtension(folder, ".gz")) names.push_back(std::move(name));
  std::sort(names.begin(), names.end());
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  for (const std::string& name : names) inputs.push_back({prefix + name, {}});
}

void AddPlaylist(const std::string& playlist, std::vector<RenderInput>& inputs) {
  // A missing playlist reads as an empty one: say so rather than render nothing quietly.
  if (::access(playlist.c_str(), R_OK) != 0) {
    inputs.push_back({playlist, "can't read the playlist : " + std::string(std::strerror(errno))});
    return;
  }
  for (const std::string& path : ReadPlaylist(playlist).paths) {
    if (!path.empty()) inputs.push_back({path, {}});
  }
}

}  // namespace

std::vector<RenderInput> ExpandRenderInputs(const std::vector<std::string>& arguments) {
  std::vector<RenderInput> inputs;
  for (const std::string& argument : arguments) {
    struct stat info {};
    if (::stat(argument.c_str(), &info) != 0) {
      inputs.push_back({argument, std::strerror(errno)});
    } else if (S_ISDIR(info.st_mode)) {
      AddFolder(argument, inputs);
    } else if (EndsWithNoCase(argument, kPlaylistExtension)) {
      AddPlaylist(argument, inputs);
    } else {
      inputs.push_back({argument, {}});
    }
  }
  return inputs;
}

std::string RenderOutputName(const std::string& nameTemplate, const std::string& logPath, std::size_t index,
                             std::string& error) {
  const std::filesystem::path log(logPath);
  char number[24];
  std::snprintf(number, sizeof number, "%03zu", index);
  const std::pair<std::string, std::string> fields[] = {
      {"{name}", log.stem().string()}, {"{dir}", log.parent_path().filename().string()}, {"{index}", number}};
  std::string name;
  for (std::size_t i = 0; i < nameTemplate.size();) {
    bool matched = false;
    for (const auto& [field, value] : fields) {
      if (nameTemplate.compare(i, field.size(), field) == 0) {
        name += value;
        i += field.size();
        matched = true;
        break;
      }
    }
    if (matched) continue;
    if (nameTemplate[i] == '{') {
      error = "unknown field in the name template: " + nameTemplate.substr(i, nameTemplate.find('}', i) - i + 1);
      return {};
    }
    name += nameTemplate[i++];
  }
  return name;
}

}  // namespace kestrel::cli
