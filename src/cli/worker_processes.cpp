#include "cli/worker_processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <vector>

namespace kestrel::cli {
namespace {

struct Worker {
  std::size_t index;
  pid_t pid;
  int fd;  // read end of the child's answer pipe
  std::string answer;
};

void WriteAll(int fd, const std::string& text) {
  std::size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t n = ::write(fd, text.data() + sent, text.size() - sent);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

[[noreturn]] void RunChild(std::size_t index, int fd, const std::function<std::string(std::size_t)>& work) {
  int status = 0;
  try {
    WriteAll(fd, work(index));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kestrel-spu: %s\n", error.what());
    status = 1;
  } catch (...) {
    status = 1;
  }
  ::close(fd);
  std::fflush(stderr);
  ::_exit(status);  // the parent's atexit handlers and stdio buffers are not the child's
}

std::optional<Worker> Start(std::size_t index, const std::function<std::string(std::size_t)>& work) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeFds[0]);
    RunChild(index, pipeFds[1], work);
  }
  ::close(pipeFds[1]);
  if (pid < 0) {
    ::close(pipeFds[0]);
    return std::nullopt;
  }
  return Worker{index, pid, pipeFds[0], {}};
}

// Reads whatever the workers have sent; true for each whose pipe has closed.
void ReadAnswers(std::vector<Worker>& workers, std::vector<bool>& closed) {
  std::vector<pollfd> fds;
  for (const Worker& w : workers) fds.push_back({w.fd, POLLIN, 0});
  closed.assign(workers.size(), false);
  if (::poll(fds.data(), fds.size(), 100) <= 0) return;
  for (std::size_t i = 0; i < workers.size(); ++i) {
    if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
    char buffer[4096];
    const ssize_t n = ::read(workers[i].fd, buffer, sizeof buffer);
    if (n > 0) {
      workers[i].answer.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      closed[i] = true;
    }
  }
}

}  // namespace

std::size_t RunInWorkerProcesses(std::size_t count, int jobs, const std::function<std::string(std::size_t)>& work,
                                 const std::function<void(std::size_t, std::optional<std::string>)>& done,
                                 const InterruptFlag& interrupt) {
  std::vector<Worker> workers;
  std::size_t next = 0;
  bool passedOn = false;
  while (workers.size() > 0 || (next < count && !interrupt.Raised())) {
    while (!interrupt.Raised() && next < count && static_cast<int>(workers.size()) < std::max(jobs, 1)) {
      std::optional<Worker> worker = Start(next, work);
      if (!worker) {
        done(next++, std::nullopt);
        continue;
      }
      workers.push_back(std::move(*worker));
      ++next;
    }
    if (interrupt.Raised() && !passedOn) {
      passedOn = true;
      for (const Worker& w : workers) ::kill(w.pid, SIGINT);
    }
    std::vector<bool> closed;
    ReadAnswers(workers, closed);
    for (std::size_t i = workers.size(); i-- > 0;) {
      if (!closed[i]) continue;
      Worker w = std::move(workers[i]);
      workers.erase(workers.begin() + static_cast<std::ptrdiff_t>(i));
      ::close(w.fd);
      int status = 0;
      while (::waitpid(w.pid, &status, 0) < 0 && errno == EINTR) {
      }
      const bool answered = WIFEXITED(status) && WEXITSTATUS(status) == 0 && !w.answer.empty();
      done(w.index, answered ? std::optional<std::string>(std::move(w.answer)) : std::nullopt);
    }
  }
  return next;
}

}  // namespace kestrel::cli
