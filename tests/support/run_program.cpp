#include "support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "fakes/test_plugins.h"

extern char** environ;

namespace kestrel::test {

ProgramResult RunProgram(const ProgramRun& run) {
  int outPipe[2];
  int errPipe[2];
  if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int null = ::open("/dev/null", O_RDONLY);
    ::dup2(null, STDIN_FILENO);
    ::dup2(outPipe[1], STDOUT_FILENO);
    ::dup2(errPipe[1], STDERR_FILENO);
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    if (!run.workingFolder.empty() && ::chdir(run.workingFolder.c_str()) != 0) ::_exit(126);
    for (const std::string& entry : run.environment) ::putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv;
    for (const std::string& arg : run.args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execve(argv[0], argv.data(), environ);
    ::_exit(127);
  }
  ::close(outPipe[1]);
  ::close(errPipe[1]);

  ProgramResult result;
  const auto start = std::chrono::steady_clock::now();
  bool interrupted = false;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  int open = 2;
  while (open > 0) {
    if (run.interruptAfterMs && !interrupted &&
        std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(*run.interruptAfterMs) &&
        result.out.find(run.interruptWhenOutputHas) != std::string::npos) {
      ::kill(pid, SIGINT);
      interrupted = true;
    }
    if (::poll(fds, 2, 10) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || (fds[i].revents & (POLLIN | POLLHUP)) == 0) continue;
      char buffer[4096];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      } else {
        (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
      }
    }
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

ProgramResult RunKestrelSpu(std::vector<std::string> args, ProgramRun run) {
  args.insert(args.begin(), kKestrelSpuProgram);
  run.args = std::move(args);
  return RunProgram(run);
}

}  // namespace kestrel::test
