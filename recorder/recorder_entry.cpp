// The recorder's C entry points. Each shows the call to the recorder (which logs what the game did,
// whatever the real plugin can do) and forwards it unchanged; a call the real plugin has no entry
// for is passed over. No exception leaves here.
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "abi/spu_plugin.h"
#include "recorder/recorder_report.h"
#include "recorder/recorder_session.h"

#define KESTREL_RECORDER_EXPORT extern "C" __attribute__((visibility("default")))

KESTREL_RECORDER_EXPORT const char KestrelSpuRecorderMarker[] = "Kestrel SPU Recorder";

namespace {
using kestrel::FreezeBlock;
using kestrel::SpuPluginApi;
using namespace kestrel::recorder;

constexpr unsigned long kLibType = kestrel::kSpuPluginType;
constexpr unsigned long kVersion = (1 << 8) | 0;
char kLibName[] = "Kestrel SPU Recorder";
constexpr auto kFreezeLoad = static_cast<unsigned long>(kestrel::FreezeMode::Load);
constexpr auto kFreezeSave = static_cast<unsigned long>(kestrel::FreezeMode::Save);

// Calls may come from more than one emulator thread; the session and its recorder are one state.
std::mutex& SessionMutex() {
  static std::mutex mutex;
  return mutex;
}
std::unique_ptr<RecorderSession>& Session() {
  static std::unique_ptr<RecorderSession> session;
  return session;
}

// Runs `body` on the live session under the lock; no session or anything thrown gives `fallback`.
template <typename Result, typename Body>
Result WithSession(Result fallback, Body body) {
  try {
    std::lock_guard lock(SessionMutex());
    RecorderSession* session = Session().get();
    return session != nullptr ? body(*session, session->setup.real.api) : fallback;
  } catch (...) {
    return fallback;
  }
}
template <typename Body>
void WithSession(Body body) {
  WithSession(0, [&](RecorderSession& s, const SpuPluginApi& api) {
    body(s, api);
    return 0;
  });
}

// Runs `body` with the live session's setup, or with one loaded for this call alone; a setup
// that cannot be loaded is printed and gives -1.
template <typename Body>
long WithSetup(Body body) {
  try {
    std::lock_guard lock(SessionMutex());
    if (RecorderSession* session = Session().get()) return body(session->setup);
    auto setup = LoadRecorderSetup();
    if (auto* problem = std::get_if<std::string>(&setup)) {
      std::printf("%s: cannot record: %s\n", kLibName, problem->c_str());
      std::fflush(stdout);
      return -1;
    }
    return body(std::get<RecorderSetup>(setup));
  } catch (...) {
    return -1;
  }
}

void Describe(const RecorderSetup& setup) {
  const RecorderSettings& s = setup.settings;
  std::printf("%s: settings %s\n  records through %s into %s%s\n  starts at %s, %s\n", kLibName,
              s.settingsPath.c_str(), s.plugin.c_str(), s.outputFolder.c_str(), s.compress ? " (compressed)" : "",
              s.start == RecordStart::KeyOn ? "the first key-on after SPUopen" : "SPUopen",
              s.stopAfterSilence == 0 ? "stops at SPUclose"
                                      : ("stops at SPUclose or after " + std::to_string(s.stopAfterSilence) +
                                         " seconds of silence").c_str());
  if (!setup.real.missing.empty()) {
    std::printf("  the real plugin lacks %s; those calls are passed over\n", setup.real.missing.c_str());
  }
  std::fflush(stdout);
}
}  // namespace

KESTREL_RECORDER_EXPORT char* PSEgetLibName() { return kLibName; }
KESTREL_RECORDER_EXPORT unsigned long PSEgetLibType() { return kLibType; }
KESTREL_RECORDER_EXPORT unsigned long PSEgetLibVersion() { return kVersion; }

KESTREL_RECORDER_EXPORT long SPUinit() {
  try {
    std::lock_guard lock(SessionMutex());
    if (RecorderSession* session = Session().get()) return session->setup.real.api.SPUinit();
    auto setup = LoadRecorderSetup();
    if (auto* problem = std::get_if<std::string>(&setup)) {
      Report("cannot record: " + *problem);
      return -1;
    }
    Session() = std::make_unique<RecorderSession>(std::move(std::get<RecorderSetup>(setup)));
    return Session()->setup.real.api.SPUinit();
  } catch (...) {
    return -1;
  }
}

KESTREL_RECORDER_EXPORT long SPUshutdown() {
  try {
    std::lock_guard lock(SessionMutex());
    if (!Session()) return 0;
    Session()->recorder.Closed();
    const long result = Session()->setup.real.api.SPUshutdown();
    Session().reset();  // the writer finishes the last file before the real plugin is unloaded
    return result;
  } catch (...) {
    return -1;
  }
}

KESTREL_RECORDER_EXPORT long SPUopen(void* window) {
  return WithSession(-1L, [&](RecorderSession& s, const SpuPluginApi& api) {
    const long result = api.SPUopen != nullptr ? api.SPUopen(window) : 0;
    s.recorder.Opened();
    return result;
  });
}

KESTREL_RECORDER_EXPORT long SPUclose() {
  return WithSession(-1L, [](RecorderSession& s, const SpuPluginApi& api) {
    s.recorder.Closed();
    return api.SPUclose != nullptr ? api.SPUclose() : 0L;
  });
}

KESTREL_RECORDER_EXPORT void SPUwriteRegister(unsigned long address, unsigned short value) {
  WithSession([&](RecorderSession& s, const SpuPluginApi& api) {
    s.recorder.RegisterWritten(static_cast<std::uint32_t>(address), value);
    api.SPUwriteRegister(address, value);
  });
}

KESTREL_RECORDER_EXPORT unsigned short SPUreadRegister(unsigned long address) {
  return WithSession<unsigned short>(0, [&](RecorderSession& s, const SpuPluginApi& api) -> unsigned short {
    if (api.SPUreadRegister == nullptr) return 0;
    const unsigned short value = api.SPUreadRegister(address);
    s.recorder.RegisterRead(static_cast<std::uint32_t>(address));
    return value;
  });
}

KESTREL_RECORDER_EXPORT void SPUwriteDMAMem(unsigned short* words, int count) {
  WithSession([&](RecorderSession& s, const SpuPluginApi& api) {
    s.recorder.DmaWritten(words, count);
    if (api.SPUwriteDMAMem != nullptr) api.SPUwriteDMAMem(words, count);
  });
}

KESTREL_RECORDER_EXPORT void SPUreadDMAMem(unsigned short* words, int count) {
  WithSession([&](RecorderSession& s, const SpuPluginApi& api) {
    if (api.SPUreadDMAMem == nullptr) return;
    api.SPUreadDMAMem(words, count);
    s.recorder.DmaRead(count);
  });
}

KESTREL_RECORDER_EXPORT void SPUplayADPCMchannel(void* xaBlock) {
  WithSession([&](RecorderSession& s, const SpuPluginApi& api) {
    s.recorder.XaBlock(xaBlock);
    if (api.SPUplayADPCMchannel != nullptr) api.SPUplayADPCMchannel(xaBlock);
  });
}

KESTREL_RECORDER_EXPORT int SPUplayCDDAchannel(short* pcm, int bytes) {
  return WithSession(0, [&](RecorderSession& s, const SpuPluginApi& api) {
    s.recorder.CdAudio(pcm, bytes);
    return api.SPUplayCDDAchannel != nullptr ? api.SPUplayCDDAchannel(pcm, bytes) : 0;
  });
}

KESTREL_RECORDER_EXPORT long SPUfreeze(unsigned long mode, void* block) {
  return WithSession(0L, [&](RecorderSession& s, const SpuPluginApi& api) {
    const long result = api.SPUfreeze(mode, block);
    if (block != nullptr && mode == kFreezeLoad) s.recorder.FreezeLoaded(*static_cast<const FreezeBlock*>(block));
    if (block != nullptr && mode == kFreezeSave) s.recorder.FreezeSaved(*static_cast<const FreezeBlock*>(block));
    return result;
  });
}

KESTREL_RECORDER_EXPORT void SPUasync(unsigned long cycles) {
  WithSession([&](RecorderSession& s, const SpuPluginApi& api) {
    s.recorder.Advanced(cycles);
    if (api.SPUasync != nullptr) api.SPUasync(cycles);
  });
}

KESTREL_RECORDER_EXPORT void SPUrender(void* buffer, int bytes) {
  if (buffer == nullptr || bytes <= 0) return;
  std::memset(buffer, 0, static_cast<std::size_t>(bytes));  // silence where the real plugin cannot render
  WithSession([&](RecorderSession&, const SpuPluginApi& api) {
    if (api.SPUrender != nullptr) api.SPUrender(buffer, bytes);
  });
}

KESTREL_RECORDER_EXPORT long SPUconfigure() {
  return WithSetup([](RecorderSetup& setup) {
    Describe(setup);
    return setup.real.api.SPUconfigure != nullptr ? setup.real.api.SPUconfigure() : 0L;
  });
}

KESTREL_RECORDER_EXPORT void SPUabout() {
  std::printf("%s %lu.%lu\nMakes new SPU logs of what a game does, through the SPU plugin named in %s.\n",
              kLibName, (kVersion >> 8) & 0xFF, kVersion & 0xFF, kSettingsFileName);
  std::fflush(stdout);
  WithSetup([](RecorderSetup& setup) {
    if (setup.real.api.SPUabout != nullptr) setup.real.api.SPUabout();
    return 0L;
  });
}

KESTREL_RECORDER_EXPORT long SPUtest() {
  return WithSetup([](RecorderSetup& setup) {
    Describe(setup);
    return setup.real.api.SPUtest != nullptr ? setup.real.api.SPUtest() : 0L;
  });
}
