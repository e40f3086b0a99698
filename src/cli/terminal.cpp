#include "cli/terminal.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <string>

namespace kestrel::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;
struct sigaction previousInt {};
struct sigaction previousTerm {};

void OnInterrupt(int) { interrupted = 1; }

bool ReadByte(unsigned char& byte, int timeoutMs) {
  pollfd in{STDIN_FILENO, POLLIN, 0};
  return ::poll(&in, 1, timeoutMs) > 0 && ::read(STDIN_FILENO, &byte, 1) == 1;
}

void WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace

InterruptFlag::InterruptFlag() {
  interrupted = 0;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, &previousInt);
  ::sigaction(SIGTERM, &action, &previousTerm);
}

InterruptFlag::~InterruptFlag() {
  ::sigaction(SIGINT, &previousInt, nullptr);
  ::sigaction(SIGTERM, &previousTerm, nullptr);
}

bool InterruptFlag::Raised() const { return interrupted != 0; }

struct RawKeys::Saved {
  termios mode;
};

RawKeys::RawKeys() {
  if (::isatty(STDIN_FILENO) == 0) return;
  saved_ = std::make_unique<Saved>();
  if (::tcgetattr(STDIN_FILENO, &saved_->mode) != 0) return;
  termios raw = saved_->mode;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);  // ISIG stays: Ctrl-C still interrupts
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  active_ = ::tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
}

RawKeys::~RawKeys() {
  if (active_) ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_->mode);
}

std::optional<Key> RawKeys::Poll() {
  unsigned char byte = 0;
  if (!active_ || !ReadByte(byte, 0)) return std::nullopt;
  switch (byte) {
    case ' ': return Key::Space;
    case 'q': case 'Q': return Key::Quit;
    case 0x1B: {
      unsigned char bracket = 0;
      unsigned char code = 0;
      if (!ReadByte(bracket, 20) || bracket != '[' || !ReadByte(code, 20)) return std::nullopt;
      if (code == 'A') return Key::Up;
      if (code == 'B') return Key::Down;
      if (code == 'C') return Key::Right;
      if (code == 'D') return Key::Left;
      return std::nullopt;
    }
    default: return std::nullopt;
  }
}

StatusLine::StatusLine(int fd) : fd_(fd), active_(::isatty(fd) != 0) {}

StatusLine::~StatusLine() {
  if (shown_) WriteAll(fd_, "\n");
}

void StatusLine::Show(std::string_view text) {
  if (!active_) return;
  WriteAll(fd_, "\r\033[K" + std::string(text));
  shown_ = true;
}

void StatusLine::Clear() {
  if (!active_ || !shown_) return;
  WriteAll(fd_, "\r\033[K");
  shown_ = false;
}

}  // namespace kestrel::cli
