#pragma once
// Runs a program as a child process and collects what it printed.

#include <optional>
#include <string>
#include <vector>

namespace kestrel::test {

struct ProgramRun {
  std::vector<std::string> args;            // args[0] is the program's path
  std::vector<std::string> environment;     // "NAME=value", added to this process's
  std::string workingFolder;                // empty: this process's
  std::optional<int> interruptAfterMs;      // send SIGINT this long after the start
  // ... and once standard output has shown this text.
  std::string interruptWhenOutputHas;
};

struct ProgramResult {
  int exitCode = -1;  // 128 + signal when it was killed by one
  std::string out;
  std::string err;
};

ProgramResult RunProgram(const ProgramRun& run);
// Runs kestrel-spu with `args`; `run.args` is replaced.
ProgramResult RunKestrelSpu(std::vector<std::string> args, ProgramRun run = {});

}  // namespace kestrel::test
