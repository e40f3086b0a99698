// Reads every #include under src/ and holds it to the layer order: a file may include its own
// folder and the layers below it, never one above; folders sharing a layer are peers that
// may not lean on each other, except where this test names the edge.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace kestrel {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceRoot = KESTREL_SOURCE_DIR "/src";

// Top (front ends) to bottom (header-only ABI).
const std::map<std::string, int> kLayerOfFolder = {
    {"cli", 1},     {"app", 2},     {"monitor", 3}, {"player", 4},   {"decoder", 4},
    {"library", 5}, {"playlist", 5}, {"mixer", 6},  {"spulog", 7},   {"plugin", 7},
    {"platform", 8}, {"abi", 9}};

// Peers that build on each other by design: a playlist holds file-list rows, and a log's
// state image is the plugin's freeze block.
const std::set<std::pair<std::string, std::string>> kPeerEdges = {{"playlist", "library"}, {"spulog", "plugin"}};

bool IsGuiFile(const fs::path& file) {
  const std::string name = file.filename().string();
  for (const char* marker : {"_page.", "_dialog.", "_widget."}) {
    if (name.find(marker) != std::string::npos) return true;
  }
  return file.string().find("/app/gui/") != std::string::npos;
}

struct Include {
  fs::path file;
  std::string target;  // as written: "player/player_thread.h", <QWidget>
  bool angled = false;
};

std::vector<Include> IncludesUnderSrc() {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<Include> all;
  for (const auto& entry : fs::recursive_directory_iterator(kSourceRoot)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    std::ifstream in(entry.path());
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
      if (std::regex_search(line, match, kInclude)) all.push_back({entry.path(), match[2], match[1] == "<"});
    }
  }
  return all;
}

std::string FolderOf(const fs::path& file) { return fs::relative(file, kSourceRoot).begin()->string(); }

TEST(IncludeLayers, NoEdgeRunsUpwardsOrSideways) {
  const std::vector<Include> includes = IncludesUnderSrc();
  ASSERT_GT(includes.size(), 100u) << "no sources found under " << kSourceRoot;
  for (const Include& include : includes) {
    if (include.angled || IsGuiFile(include.file)) continue;  // the GUI is the top: it may use anything
    const std::string from = FolderOf(include.file);
    const std::string to = include.target.substr(0, include.target.find('/'));
    if (from == to || !kLayerOfFolder.count(to)) continue;
    ASSERT_TRUE(kLayerOfFolder.count(from)) << include.file << " is in a folder with no layer";
    const int fromLayer = kLayerOfFolder.at(from), toLayer = kLayerOfFolder.at(to);
    EXPECT_TRUE(toLayer > fromLayer || (toLayer == fromLayer && kPeerEdges.count({from, to})))
        << include.file << " includes " << include.target << ": " << from << " may not depend on " << to;
  }
}

TEST(IncludeLayers, OnlyGuiFilesIncludeQt) {
  static const std::regex kQtHeader(R"(^Q[A-Za-z]+$|^Qt[A-Za-z]*/)");
  for (const Include& include : IncludesUnderSrc()) {
    if (!include.angled || IsGuiFile(include.file)) continue;
    EXPECT_FALSE(std::regex_search(include.target, kQtHeader))
        << include.file << " is core code but includes <" << include.target << ">";
  }
}

}  // namespace
}  // namespace kestrel
