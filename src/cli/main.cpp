// kestrel-spu: the command-line front end of Kestrel SPU Player.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <new>

#include "cli/commands.h"

int main(int argc, char** argv) {
  CLI::App app{"Kestrel SPU Player command line: inspect, play and render PlayStation SPU logs."};
  app.require_subcommand(1);
  int status = 0;
  kestrel::cli::AddInfoCommand(app, status);
  kestrel::cli::AddPluginsCommand(app, status);
  kestrel::cli::AddPlayCommand(app, status);
  kestrel::cli::AddDecodeCommand(app, status);
  kestrel::cli::AddRenderCommand(app, status);
  kestrel::cli::AddScanCommand(app, status);
  kestrel::cli::AddTitlesCommand(app, status);
  kestrel::cli::AddPlaylistCommand(app, status);
  // Whatever a command meets, the user gets a message and a failing status, never an abort.
  try {
    CLI11_PARSE(app, argc, argv);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "kestrel-spu: out of memory\n");
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kestrel-spu: %s\n", error.what());
    return 1;
  }
  return status;
}
