// A benchmark SPU plugin that does nothing but note when it was called: the cycles each
// SPUasync call asked for and when each write to the pitch register of voice 0 arrived.
// SPUrender can be made to spend a set amount of work per call.

#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

#include "abi/spu_registers.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using Clock = std::chrono::steady_clock;

struct Record {
  std::int64_t startNs = 0;
  std::vector<std::int64_t> asyncNs;
  std::vector<std::uint64_t> asyncCycles;  // running total after each call
  std::vector<std::int64_t> eventNs;
  std::vector<std::uint16_t> eventValues;
  std::uint64_t cycles = 0;
  int renderWork = 0;
  std::int64_t renderNs = 0;  // time spent inside SPUrender
  volatile std::uint32_t sink = 0;
};
Record record;

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

}  // namespace

// Bench hooks.
EXPORT void TimingPluginReset(int renderWork) {
  record = Record{};
  record.renderWork = renderWork;
  record.asyncNs.reserve(1 << 22);
  record.asyncCycles.reserve(1 << 22);
  record.eventNs.reserve(1 << 20);
  record.eventValues.reserve(1 << 20);
}
EXPORT std::int64_t TimingPluginStart() { return record.startNs; }
EXPORT std::int64_t TimingPluginRenderNs() { return record.renderNs; }
EXPORT std::size_t TimingPluginAsyncCount() { return record.asyncNs.size(); }
EXPORT const std::int64_t* TimingPluginAsyncNs() { return record.asyncNs.data(); }
EXPORT const std::uint64_t* TimingPluginAsyncCycles() { return record.asyncCycles.data(); }
EXPORT std::size_t TimingPluginEventCount() { return record.eventNs.size(); }
EXPORT const std::int64_t* TimingPluginEventNs() { return record.eventNs.data(); }
EXPORT const std::uint16_t* TimingPluginEventValues() { return record.eventValues.data(); }

EXPORT char* PSEgetLibName() { return const_cast<char*>("Timing SPU"); }
EXPORT unsigned long PSEgetLibType() { return 4; }
EXPORT unsigned long PSEgetLibVersion() { return 1; }
EXPORT long SPUinit() { return 0; }
EXPORT long SPUshutdown() { return 0; }
EXPORT long SPUopen(void*) { return 0; }
EXPORT long SPUclose() { return 0; }
EXPORT long SPUfreeze(unsigned long, void*) {
  record.startNs = NowNs();  // the player's clock starts right after the state is loaded
  return 1;
}
EXPORT void SPUwriteRegister(unsigned long address, unsigned short value) {
  if (address == kestrel::spu_reg::VoicePitch(0) && record.eventNs.size() < record.eventNs.capacity()) {
    record.eventNs.push_back(NowNs());
    record.eventValues.push_back(value);
  }
}
EXPORT unsigned short SPUreadRegister(unsigned long) { return 0; }
EXPORT void SPUwriteDMAMem(unsigned short*, int) {}
EXPORT void SPUreadDMAMem(unsigned short* words, int count) { std::memset(words, 0, static_cast<std::size_t>(count) * 2); }
EXPORT void SPUplayADPCMchannel(void*) {}
EXPORT int SPUplayCDDAchannel(short*, int) { return 0; }
EXPORT void SPUasync(unsigned long cycles) {
  record.cycles += cycles;
  if (record.asyncNs.size() < record.asyncNs.capacity()) {
    record.asyncNs.push_back(NowNs());
    record.asyncCycles.push_back(record.cycles);
  }
}
// Stands in for an emulator's mixing when no real plugin is at hand: `renderWork`
// multiply-adds per frame.
EXPORT void SPUrender(void* buffer, int bytes) {
  const std::int64_t start = NowNs();
  std::uint32_t acc = record.sink;
  for (int i = 0; i < bytes / 4 * record.renderWork; ++i) acc = acc * 1664525u + 1013904223u;
  record.sink = acc;
  std::memset(buffer, 0, static_cast<std::size_t>(bytes));
  record.renderNs += NowNs() - start;
}
