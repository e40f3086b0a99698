#include "platform/console_log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <utility>
#include <vector>

namespace kestrel {
namespace {

struct Outputs {
  std::mutex mutex;
  std::vector<std::pair<int, ConsoleLog::Output>> list;
  int nextId = 1;
  std::atomic<bool> any{false};
};

Outputs& TheOutputs() {
  static Outputs outputs;  // lives to the end of the process, past every thread
  return outputs;
}

void Detach(int id) {
  Outputs& o = TheOutputs();
  std::lock_guard lock(o.mutex);
  std::erase_if(o.list, [id](const auto& entry) { return entry.first == id; });
  o.any = !o.list.empty();
}

}  // namespace

ConsoleLog::Attachment& ConsoleLog::Attachment::operator=(Attachment&& other) noexcept {
  if (this != &other) {
    if (id_ != 0) Detach(id_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

ConsoleLog::Attachment::~Attachment() {
  if (id_ != 0) Detach(id_);
}

ConsoleLog::Attachment ConsoleLog::Attach(Output output) {
  Outputs& o = TheOutputs();
  std::lock_guard lock(o.mutex);
  const int id = o.nextId++;
  o.list.emplace_back(id, std::move(output));
  o.any = true;
  return Attachment(id);
}

bool ConsoleLog::HasOutput() { return TheOutputs().any.load(); }

void ConsoleLog::Write(std::string_view line) {
  Outputs& o = TheOutputs();
  if (!o.any.load(std::memory_order_relaxed)) return;
  std::lock_guard lock(o.mutex);
  for (auto& [id, output] : o.list) output(line);
}

void ConsoleLog::Writef(const char* format, ...) {
  if (!HasOutput()) return;
  char line[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  Write(line);
}

}  // namespace kestrel
