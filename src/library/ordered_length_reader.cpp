#include "library/ordered_length_reader.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace kestrel {
namespace {

// Results of the read-ahead, kept until the caller delivers them in order.
struct ReadAhead {
  std::mutex mutex;
  std::condition_variable ready;
  std::vector<std::optional<SpuFileEntry>> rows;
  std::atomic<std::size_t> next{0};
};

void ReadUntilDone(const std::vector<std::string>& paths, const std::atomic<bool>& cancel, ReadAhead& ahead) {
  for (std::size_t i = ahead.next.fetch_add(1); i < paths.size() && !cancel.load(std::memory_order_acquire);
       i = ahead.next.fetch_add(1)) {
    SpuFileEntry entry = MakeLogEntry(paths[i]);
    {
      std::lock_guard lock(ahead.mutex);
      ahead.rows[i] = std::move(entry);
    }
    ahead.ready.notify_all();
  }
}

}  // namespace

unsigned DefaultLengthReaders() { return std::clamp(std::thread::hardware_concurrency(), 1u, 2u); }

void ReadLogEntriesInOrder(const std::vector<std::string>& paths, unsigned workers,
                           const std::atomic<bool>& cancel,
                           const std::function<void(SpuFileEntry)>& deliver) {
  if (workers <= 1 || paths.size() < 2) {
    for (const std::string& path : paths) {
      if (cancel.load(std::memory_order_acquire)) return;
      deliver(MakeLogEntry(path));
    }
    return;
  }

  ReadAhead ahead;
  ahead.rows.resize(paths.size());
  std::vector<std::jthread> helpers;
  for (unsigned w = 1; w < workers; ++w) {
    helpers.emplace_back([&paths, &cancel, &ahead] { ReadUntilDone(paths, cancel, ahead); });
  }
  // The caller reads too while the row that is due is still being read elsewhere, and
  // delivers each row as soon as it is due, so the list fills steadily.
  for (std::size_t due = 0; due < paths.size(); ++due) {
    std::optional<SpuFileEntry> row;
    {
      std::unique_lock lock(ahead.mutex);
      while (!ahead.rows[due] && !cancel.load(std::memory_order_acquire)) {
        lock.unlock();
        const std::size_t mine = ahead.next.fetch_add(1);
        if (mine < paths.size()) {
          SpuFileEntry entry = MakeLogEntry(paths[mine]);
          lock.lock();
          ahead.rows[mine] = std::move(entry);
          continue;
        }
        lock.lock();
        ahead.ready.wait(lock, [&] { return ahead.rows[due].has_value() || cancel.load(); });
      }
      if (!ahead.rows[due]) break;
      row = std::move(ahead.rows[due]);
      ahead.rows[due].reset();
    }
    deliver(std::move(*row));
  }
  // The helpers stop at the next path once cancelled or when the paths run out.
}

}  // namespace kestrel
