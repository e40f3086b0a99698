// A test SPU plugin that records every call it receives, one text line per call.
// Variants leave entry points out (KESTREL_FAKE_NO_ASYNC, _NO_FREEZE, _NO_RENDER) or
// declare another library type (KESTREL_FAKE_LIB_TYPE).
//
// The lines are read back in-process with RecordingPluginCalls(), or appended to the
// file named by KESTREL_RECORDING_LOG for tests that run a program.

#include <array>
#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <chrono>
#include <thread>

#include "abi/spu_plugin.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

#ifndef KESTREL_FAKE_LIB_TYPE
#define KESTREL_FAKE_LIB_TYPE 4
#endif

namespace {

std::mutex mutex;
std::string calls;
std::array<unsigned short, 256> registers{};
std::uint32_t renderedFrames = 0;
std::atomic<int> closeDelayMs{0};  // a plugin slow to close, for the stop time-out

// FNV-1a, so payloads can be compared without recording them whole.
std::uint32_t Hash(const void* data, std::size_t size) {
  std::uint32_t h = 2166136261u;
  const auto* p = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 16777619u;
  return h;
}

void Record(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Record(const char* format, ...) {
  char line[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  std::lock_guard lock(mutex);
  calls += line;
  calls += '\n';
  if (const char* path = std::getenv("KESTREL_RECORDING_LOG")) {
    if (std::FILE* out = std::fopen(path, "a")) {
      std::fprintf(out, "%s\n", line);
      std::fclose(out);
    }
  }
}

std::size_t RegisterIndex(unsigned long address) { return ((address - 0x1F801C00ul) >> 1) & 0xFF; }

}  // namespace

// Test hooks.
EXPORT const char* RecordingPluginCalls() {
  static std::string copy;
  std::lock_guard lock(mutex);
  copy = calls;
  return copy.c_str();
}
EXPORT void RecordingPluginSetCloseDelay(int milliseconds) { closeDelayMs = milliseconds; }
EXPORT void RecordingPluginReset() {
  std::lock_guard lock(mutex);
  calls.clear();
  closeDelayMs = 0;
  registers.fill(0);
  renderedFrames = 0;
}

EXPORT char* PSEgetLibName() { return const_cast<char*>("Recording SPU"); }
EXPORT unsigned long PSEgetLibType() { return KESTREL_FAKE_LIB_TYPE; }
EXPORT unsigned long PSEgetLibVersion() { return 0x10203; }

EXPORT long SPUinit() { Record("SPUinit"); return 0; }
EXPORT long SPUshutdown() { Record("SPUshutdown"); return 0; }
EXPORT long SPUopen(void*) { Record("SPUopen"); return 0; }
EXPORT long SPUclose() {
  std::this_thread::sleep_for(std::chrono::milliseconds(closeDelayMs.load()));
  Record("SPUclose");
  return 0;
}

EXPORT void SPUwriteRegister(unsigned long address, unsigned short value) {
  registers[RegisterIndex(address)] = value;
  Record("SPUwriteRegister %08lx %04x", address, value);
}

EXPORT unsigned short SPUreadRegister(unsigned long address) {
  Record("SPUreadRegister %08lx", address);
  return registers[RegisterIndex(address)];
}

EXPORT void SPUwriteDMAMem(unsigned short* words, int count) {
  Record("SPUwriteDMAMem %d %08x", count, Hash(words, static_cast<std::size_t>(count) * 2));
}

EXPORT void SPUreadDMAMem(unsigned short* words, int count) {
  std::memset(words, 0xAB, static_cast<std::size_t>(count) * 2);  // every word must be writable
  Record("SPUreadDMAMem %d", count);
}

EXPORT void SPUplayADPCMchannel(void* block) { Record("SPUplayADPCMchannel %08x", Hash(block, kestrel::kXaBlockSize)); }

EXPORT int SPUplayCDDAchannel(short* pcm, int bytes) {
  Record("SPUplayCDDAchannel %d %08x", bytes, Hash(pcm, static_cast<std::size_t>(bytes)));
  return 0;
}

#ifndef KESTREL_FAKE_NO_FREEZE
EXPORT long SPUfreeze(unsigned long mode, void* block) {
  if (mode == 0 && block != nullptr) {
    std::memcpy(registers.data(), static_cast<unsigned char*>(block) + 16, 512);
  }
  Record("SPUfreeze %lu %08x", mode, block != nullptr ? Hash(block, sizeof(kestrel::FreezeBlock)) : 0u);
  return 1;
}
#endif

#ifndef KESTREL_FAKE_NO_ASYNC
EXPORT void SPUasync(unsigned long cycles) { Record("SPUasync %lu", cycles); }
#endif

#ifndef KESTREL_FAKE_NO_RENDER
// Frame f holds the sample f in the left channel and -f in the right, so tests can
// check which frames reached a file and in what order.
EXPORT void SPUrender(void* buffer, int bytes) {
  auto* out = static_cast<short*>(buffer);
  for (int i = 0; i < bytes / 4; ++i, ++renderedFrames) {
    out[2 * i] = static_cast<short>(renderedFrames);
    out[2 * i + 1] = static_cast<short>(-static_cast<int>(renderedFrames));
  }
  Record("SPUrender %d", bytes);
}
#endif

EXPORT long SPUconfigure() { Record("SPUconfigure"); return 0; }
EXPORT void SPUabout() { Record("SPUabout"); }
EXPORT long SPUtest() { Record("SPUtest"); return 0; }
