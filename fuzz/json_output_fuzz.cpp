// Feeds arbitrary bytes, as file names, titles, playlist paths and plugin texts, to every JSON
// printer of the command line: none may throw, and each must print JSON that parses again.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/json_output.h"

namespace {

// The input cut at each zero byte, so one input fills several fields.
std::vector<std::string> Fields(const std::uint8_t* data, std::size_t size, std::size_t wanted) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      fields.emplace_back();
    } else {
      fields.back() += static_cast<char>(data[i]);
    }
  }
  fields.resize(std::max(fields.size(), wanted));
  return fields;
}

void MustPrint(const nlohmann::json& value) {
  if (!nlohmann::json::accept(kestrel::cli::JsonText(value))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrel;
  const std::vector<std::string> f = Fields(data, size, 5);

  MustPrint(cli::PluginRowsToJson({PluginRow{f[0], f[1], f[2], 0}}));
  MustPrint(cli::HeaderToJson({true, f[0], f[1], f[2], f[3]}));
  MustPrint(cli::PlaylistToJson({f[0], static_cast<int>(size), {f.begin() + 1, f.end()}}));

  SpuFileList list;
  for (std::size_t i = 0; i + 1 < f.size(); i += 2) list.entries.Append({f[i], "00:01", f[i + 1]});
  list.count = static_cast<int>(list.entries.Entries().size());
  MustPrint(cli::FileListToJson(list));

  // A name no file has: only the path's conversion is exercised, not the readers.
  MustPrint(cli::DescribeLog("/nonexistent-kestrel-fuzz/" + f[0]));
  return 0;
}
