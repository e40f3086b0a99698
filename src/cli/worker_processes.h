#pragma once
// Work spread over child processes. A plugin keeps process-wide state, so each piece of work
// gets a fresh process of its own: forked, run, its answer sent back through a pipe.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "cli/terminal.h"

namespace kestrel::cli {

// Runs work(i) for i in [0, count), each in a child process, at most `jobs` at a time, and
// calls done(i, answer) in this process as each ends (nullopt when the child died without
// answering). The caller must have no other threads running. After an interrupt no new work
// starts; the running children see the same interrupt (the terminal's Ctrl-C reaches the
// whole group; anything else is passed on to them) and their answers are still collected.
// Returns how many pieces of work were started.
std::size_t RunInWorkerProcesses(std::size_t count, int jobs, const std::function<std::string(std::size_t)>& work,
                                 const std::function<void(std::size_t, std::optional<std::string>)>& done,
                                 const InterruptFlag& interrupt);

}  // namespace kestrel::cli
