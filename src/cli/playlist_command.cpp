// kestrel-spu playlist: show, write and import playlist files.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/file_list_output.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_load_thread.h"
#include "spulog/title_text.h"

namespace kestrel::cli {
namespace {

void Show(const std::string& path, bool json) {
  const PlaylistContents contents = ReadPlaylist(path);
  if (json) {
    PrintJson(PlaylistToJson(contents));
    return;
  }
  std::printf("PlayList Title : %s\n", TitleToUtf8(contents.title).c_str());
  std::printf("RegisteredNumber : %d\n", contents.registeredNumber);
  for (std::size_t i = 0; i < contents.paths.size(); ++i) {
    std::printf("%4zu  %s\n", i, TitleToUtf8(contents.paths[i]).c_str());
  }
}

// As the New PlayList dialog and Save List write it, the title and the rows in one
// replacement of the file.
int Save(const std::string& path, const std::string& title, const std::vector<std::string>& logs) {
  if (title.empty()) {
    std::fprintf(stderr, "Please input the new PlayList info.\n");
    return 1;
  }
  if (const WriteResult written = WritePlaylist(path, title, logs); !written) {
    std::fprintf(stderr, "Cannot write the PlayList file %s: %s\n", TitleToUtf8(path).c_str(),
                 TitleToUtf8(written.failure).c_str());
    return 1;
  }
  return 0;
}

int Import(const std::string& path, bool json) {
  SpuFileList list;
  PlaylistEditor editor;
  PlaylistLoadThread().RunToEnd({LoadMode::ImportFile, path, 0}, list, editor);
  PrintFileList(list, json);
  return 0;
}

}  // namespace

void AddPlaylistCommand(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("playlist", "Show, write or import a playlist file (.klt)");
  command->require_subcommand(1);

  struct Options {
    std::string file;
    std::string title;
    std::vector<std::string> logs;
    bool json = false;
  };
  auto options = std::make_shared<Options>();

  auto* show = command->add_subcommand("show", "Print a playlist's title and paths");
  show->add_option("FILE", options->file, "Playlist file")->required();
  show->add_flag("--json", options->json, "Print one JSON object");
  show->callback([options, &status] {
    Show(options->file, options->json);
    status = 0;
  });

  auto* save = command->add_subcommand("save", "Create or overwrite a playlist with the given logs");
  save->add_option("FILE", options->file, "Playlist file")->required();
  save->add_option("--title", options->title, "The playlist's title")->required();
  save->add_option("LOG", options->logs, "SPU logs, in playlist order");
  save->callback([options, &status] { status = Save(options->file, options->title, options->logs); });

  auto* import = command->add_subcommand("import", "Print the file list after importing a playlist");
  import->add_option("FILE", options->file, "Playlist file")->required();
  import->add_flag("--json", options->json, "Print one JSON object");
  import->callback([options, &status] { status = Import(options->file, options->json); });
}

}  // namespace kestrel::cli
