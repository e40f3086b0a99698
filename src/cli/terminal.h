#pragma once
// The terminal of the command line: raw keys while a log plays, Ctrl-C, one status line.

#include <memory>
#include <optional>
#include <string_view>

namespace kestrel::cli {

// Makes SIGINT and SIGTERM set a flag instead of ending the process, so a running
// playback or decode can stop cleanly. Restores the previous handlers when destroyed.
class InterruptFlag {
 public:
  InterruptFlag();
  ~InterruptFlag();
  InterruptFlag(const InterruptFlag&) = delete;
  InterruptFlag& operator=(const InterruptFlag&) = delete;
  bool Raised() const;
};

enum class Key { Space, Left, Right, Up, Down, Quit };

// Single key presses from standard input while it is a terminal; the terminal's mode is
// restored when this goes, on every way out.
class RawKeys {
 public:
  RawKeys();
  ~RawKeys();
  RawKeys(const RawKeys&) = delete;
  RawKeys& operator=(const RawKeys&) = delete;
  // The next key pressed, without waiting.
  std::optional<Key> Poll();

 private:
  bool active_ = false;
  struct Saved;
  std::unique_ptr<Saved> saved_;
};

// A line redrawn in place on a terminal; does nothing when `stream` is no terminal.
class StatusLine {
 public:
  explicit StatusLine(int fd);
  ~StatusLine();
  void Show(std::string_view text);
  // Clears the line, so other output starts at its beginning.
  void Clear();

 private:
  int fd_;
  bool active_;
  bool shown_ = false;
};

}  // namespace kestrel::cli
