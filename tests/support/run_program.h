#pragma once
// Runs a program as a user would, for tests of the command-line tools.

#include <string>

namespace kestrel::test {

struct ProgramResult {
  int exitStatus = -1;
  std::string output;  // standard output
};

// Runs `commandLine` through the shell, standard error left to the test's own.
ProgramResult RunProgram(const std::string& commandLine);

// Quotes one argument for the shell.
std::string ShellQuote(const std::string& argument);

}  // namespace kestrel::test
