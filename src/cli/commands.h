#pragma once
// The subcommands of kestrel-spu. Each registers its options and returns the exit status
// through the callback it installs.

#include <CLI/CLI.hpp>

namespace kestrel::cli {

// Each Add* registers one subcommand; `status` receives its exit status when it runs.
void AddInfoCommand(CLI::App& app, int& status);
void AddPluginsCommand(CLI::App& app, int& status);
void AddPlayCommand(CLI::App& app, int& status);
void AddDecodeCommand(CLI::App& app, int& status);
void AddRenderCommand(CLI::App& app, int& status);
void AddScanCommand(CLI::App& app, int& status);
void AddTitlesCommand(CLI::App& app, int& status);
void AddPlaylistCommand(CLI::App& app, int& status);

}  // namespace kestrel::cli
