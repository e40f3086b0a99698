#pragma once
// What `render` is asked to render: its arguments, with folders and playlists opened into
// the logs they hold.

#include <string>
#include <vector>

namespace kestrel::cli {

struct RenderInput {
  std::string path;
  std::string error;  // why this argument gives no log; empty for a log to render
};

// A folder gives its .spu and .gz logs by name, a .klt playlist its rows in order (empty rows
// skipped), anything else is taken as a log. A missing argument or an unreadable folder or
// playlist becomes one entry with its error, so the batch reports it and goes on.
std::vector<RenderInput> ExpandRenderInputs(const std::vector<std::string>& arguments);

// The output's name without extension: {name} is the log's file name less its extension,
// {dir} its folder's name, {index} its place in the batch from 001. Empty when the template
// names an unknown field, `error` then says which.
std::string RenderOutputName(const std::string& nameTemplate, const std::string& logPath, std::size_t index,
                             std::string& error);

}  // namespace kestrel::cli
