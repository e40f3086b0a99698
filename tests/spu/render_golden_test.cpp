// Renders hashed together with everything they leave behind (output, register read-back, voice
// positions, sound RAM), played in uneven chunks with register writes between them:
//  - the fast render path against the reference path, over fixed scenarios and random voice settings;
//  - the reference path's hashes of the fixed scenarios against render_goldens.txt, so that a change
//    of the emulated hardware shows. After a deliberate change, regenerate that file with
//      KESTREL_UPDATE_SPU_GOLDENS=1 ./build/tests/spu/spu_emu_tests --gtest_filter='RenderGolden.*'
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "abi/spu_stems.h"
#include "abi/spu_registers.h"
#include "spu/spu.h"
#include "spu_fixture.h"

namespace kestrel::spu {
namespace {
using namespace testing;

class Fnv1a {
 public:
  void add(const void* data, std::size_t bytes) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < bytes; ++i) value_ = (value_ ^ p[i]) * 0x100000001B3ull;
  }
  void add(std::uint32_t v) { add(&v, sizeof v); }
  std::uint64_t value() const { return value_; }

 private:
  std::uint64_t value_ = 0xCBF29CE484222325ull;
};

void HashReadBack(const Spu& spu, Fnv1a& hash) {
  for (int v = 0; v < spu_reg::kVoiceCount; ++v) {
    for (auto which : {spu_reg::kVolumeLeft, spu_reg::kVolumeRight, spu_reg::kEnvelopeLevel, spu_reg::kRepeatAddress})
      hash.add(spu.readRegister(spu_reg::Voice(v, which)));
    hash.add(spu.state().voices[v].currentAddress);
    hash.add(spu.state().voices[v].counter);
  }
  for (std::uint32_t a = spu_reg::kCurrentVoiceVolumes; a < spu_reg::kCurrentVoiceVolumesEnd; a += 2)
    hash.add(spu.readRegister(a));
  for (std::uint32_t a : {spu_reg::kEndLow, spu_reg::kEndHigh, spu_reg::kStatus, spu_reg::kCurrentMainVolumeLeft,
                          spu_reg::kCurrentMainVolumeRight})
    hash.add(spu.readRegister(a));
}

struct Event {
  int frame;
  std::function<void(Spu&)> action;
};

struct Render {
  int frames = 0;
  std::vector<Event> events;
  std::vector<int> chunks = {32, 1, 7, 100, 735, 3, 64, 2048, 31, 33};
  bool stems = false;  // renderStems, its tracks hashed too
};

// Renders in chunks of the sizes given (one frame, odd sizes, long renders), stopping at each event's
// frame to run it.
std::uint64_t RenderHash(Spu& spu, Render render) {
  auto& events = render.events;
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.frame < b.frame; });
  Fnv1a hash;
  std::vector<std::int16_t> buffer, tracks;
  std::size_t next = 0, chunk = 0;
  for (int done = 0; done < render.frames;) {
    while (next < events.size() && events[next].frame <= done) events[next++].action(spu);
    int n = std::min(render.chunks[chunk++ % render.chunks.size()], render.frames - done);
    if (next < events.size()) n = std::min(n, events[next].frame - done);
    buffer.assign(2 * static_cast<std::size_t>(n), 0);
    if (render.stems) {
      tracks.assign(buffer.size() * stems_abi::kTrackCount, 0);
      spu.renderStems(buffer.data(), tracks.data(), n);
      hash.add(tracks.data(), tracks.size() * sizeof(std::int16_t));
    } else {
      spu.render(buffer.data(), n);
    }
    hash.add(buffer.data(), buffer.size() * sizeof(std::int16_t));
    HashReadBack(spu, hash);
    done += n;
  }
  hash.add(spu.soundRam(), spu_reg::kSoundRamBytes);
  return hash.value();
}

void Write(Spu& spu, int voice, spu_reg::VoiceRegister which, std::uint16_t value) {
  spu.writeRegister(spu_reg::Voice(voice, which), value);
}
void KeyOff(Spu& spu, std::uint32_t mask) {
  spu.writeRegister(spu_reg::kKeyOffLow, static_cast<std::uint16_t>(mask));
  spu.writeRegister(spu_reg::kKeyOffHigh, static_cast<std::uint16_t>(mask >> 16));
}
Event At(int frame, std::function<void(Spu&)> action) { return {frame, std::move(action)}; }

// A harmonic-rich wave with a fixed pseudo-random edge, so the encoder uses every filter.
std::vector<std::int16_t> RoughWave(int length, std::uint32_t seed) {
  std::vector<std::int16_t> pcm(static_cast<std::size_t>(length));
  for (std::size_t i = 0; i < pcm.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    const int saw = static_cast<int>(i % 97) * 500 - 24000;
    pcm[i] = static_cast<std::int16_t>(saw + static_cast<int>(seed >> 22) - 512);
  }
  return pcm;
}

// Sample addresses (8-byte units) used by the scenarios.
constexpr std::uint16_t kTone = kSampleUnits, kRough = kSampleUnits + 0x100, kOneShot = kSampleUnits + 0x400,
                        kBurst = kSampleUnits + 0x600;

void UploadSamples(Spu& spu) {
  UploadSample(spu, SineCycles(56, 10, 12000), 0, kTone);
  UploadSample(spu, RoughWave(2800, 7), 1400, kRough);
  UploadSample(spu, SineCycles(40, 30, 20000), -1, kOneShot);
  UploadSample(spu, RoughWave(300, 99), -1, kBurst);
}

void StartVoice(Spu& spu, int voice, std::uint16_t start, std::uint16_t pitch, std::uint16_t adsrLow,
                std::uint16_t adsrHigh) {
  SetUpVoice(spu, voice, start, pitch, adsrLow, adsrHigh);
  Write(spu, voice, spu_reg::kVolumeLeft, static_cast<std::uint16_t>(0x0600 + 0x40 * voice));
  Write(spu, voice, spu_reg::kVolumeRight, static_cast<std::uint16_t>(0x1000 - 0x40 * voice));
  KeyOn(spu, 1u << voice);
}

Render OneVoice(Spu& spu) {
  PowerUp(spu);
  UploadSamples(spu);
  StartVoice(spu, 0, kRough, 0x1000, 0x38F4, 0x5FCA);
  return {3 * 44100, {At(100000, [](Spu& s) { KeyOff(s, 1); })}};
}

Render EightVoicesWithSweepsKeyOffsAndOneShots(Spu& spu) {
  PowerUp(spu);
  UploadSamples(spu);
  const std::uint16_t pitches[8] = {0x1000, 0x0800, 0x3FFF, 0x5000, 0x0000, 0x0123, 0x1F00, 0x0C00};
  const std::uint16_t starts[8] = {kTone, kRough, kOneShot, kTone, kRough, kBurst, kOneShot, kRough};
  const std::uint16_t adsr[8][2] = {{0x38F4, 0x5FCA}, {0x80FF, 0x0000}, {0x00FF, 0x1FC8}, {0xA49A, 0xC09F},
                                    {0x7F00, 0xDFCA}, {0x0F04, 0x8003}, {0x001F, 0x4006}, {0xFFFF, 0xFFFF}};
  for (int v = 0; v < 8; ++v) StartVoice(spu, v, starts[v], pitches[v], adsr[v][0], adsr[v][1]);
  // Sweeps of every kind on voice and main volumes.
  Write(spu, 1, spu_reg::kVolumeLeft, 0x8010);   // linear increase
  Write(spu, 2, spu_reg::kVolumeRight, 0xA020);  // linear decrease
  Write(spu, 3, spu_reg::kVolumeLeft, 0xC03F);   // exponential increase
  Write(spu, 4, spu_reg::kVolumeRight, 0xE040);  // exponential decrease
  Write(spu, 5, spu_reg::kVolumeLeft, 0x9050);   // negative phase
  spu.writeRegister(spu_reg::kMainVolumeLeft, 0xE07C);
  std::vector<Event> events = {
      At(5000, [](Spu& s) { KeyOff(s, 0b00000101); }),
      At(9000, [](Spu& s) { Write(s, 7, spu_reg::kEnvelopeLevel, 0x4000); }),
      At(12345, [](Spu& s) { Write(s, 1, spu_reg::kAdsrHigh, 0x40C4); }),
      At(20000, [](Spu& s) { Write(s, 3, spu_reg::kRepeatAddress, kRough + 0x20); }),
      At(30000, [](Spu& s) { KeyOn(s, 0b01000001); }),
      At(30001, [](Spu& s) { Write(s, 3, spu_reg::kPitch, 0x0400); }),
      At(44100, [](Spu& s) { KeyOff(s, 0xFF); }),
      At(60000, [](Spu& s) { Write(s, 2, spu_reg::kEnvelopeLevel, 0x2000); }),  // a released voice heard again
      At(70000, [](Spu& s) { s.writeRegister(spu_reg::kMainVolumeRight, 0x8000 | 0x5000 | 0x2A); }),
      At(80000, [](Spu& s) { KeyOn(s, 0xF0); }),
  };
  return {3 * 44100, events};
}

Render TwentyFourVoicesThroughReverbWithCdInput(Spu& spu) {
  PowerUp(spu);
  UploadSamples(spu);
  LoadHallReverb(spu);
  spu.writeRegister(spu_reg::kReverbVolumeLeft, 0x3000);
  spu.writeRegister(spu_reg::kReverbVolumeRight, 0x2800);
  spu.writeRegister(spu_reg::kReverbModeLow, 0xF0F3);
  spu.writeRegister(spu_reg::kReverbModeHigh, 0x00A5);
  spu.writeRegister(spu_reg::kCdVolumeLeft, 0x3000);
  spu.writeRegister(spu_reg::kCdVolumeRight, 0x5000);
  spu.writeRegister(spu_reg::kControl, 0xC085);  // reverb writes, CD audio through the reverb
  const std::uint16_t starts[4] = {kTone, kRough, kOneShot, kBurst};
  for (int v = 0; v < spu_reg::kVoiceCount; ++v)
    StartVoice(spu, v, starts[v % 4], static_cast<std::uint16_t>(0x0600 + 0x90 * v), 0x38F4, 0x5FCA);
  const auto xaMono = XaBlock(37800, false, SineCycles(378, 10, 20000));
  const auto xaStereo = XaBlock(18900, true, RoughWave(4000, 3));
  std::vector<std::int16_t> cdda = RoughWave(2 * 8000, 5);
  std::vector<Event> events = {
      At(0, [xaMono](Spu& s) { s.playXa(xaMono.data()); }),
      At(10000, [xaStereo](Spu& s) { s.playXa(xaStereo.data()); }),
      At(10000, [xaStereo](Spu& s) { s.playXa(xaStereo.data()); }),
      At(30000, [cdda](Spu& s) { s.playCdda(reinterpret_cast<const std::uint8_t*>(cdda.data()), cdda.size() * 2); }),
      At(40000, [](Spu& s) { s.writeRegister(spu_reg::kControl, 0x8085); }),  // muted: CD only
      At(45000, [](Spu& s) { s.writeRegister(spu_reg::kControl, 0xC001); }),  // reverb writes off, still heard
      At(60000, [](Spu& s) { s.writeRegister(spu_reg::kControl, 0xC085); }),
      At(70000, [](Spu& s) { KeyOff(s, 0x00FFFF00); }),
      At(90000, [](Spu& s) { KeyOn(s, 0x00AAAAAA); }),
  };
  return {3 * 44100, events};
}

Render PitchModulationAndNoise(Spu& spu) {
  PowerUp(spu);
  UploadSamples(spu);
  spu.writeRegister(spu_reg::kControl, static_cast<std::uint16_t>(0xC000 | (10 << 10) | (2 << 8)));
  const std::uint16_t starts[8] = {kOneShot, kTone, kRough, kTone, kBurst, kRough, kTone, kTone};
  for (int v = 0; v < 8; ++v) StartVoice(spu, v, starts[v], static_cast<std::uint16_t>(0x0900 + 0x170 * v), 0x38F4, 0x5FCA);
  Write(spu, 4, spu_reg::kPitch, 0xC000);                // read as negative when modulated
  spu.writeRegister(spu_reg::kPitchModLow, 0b11110111);  // a chain 0->1->2, 3->4->5->6->7; voice 0's bit means nothing
  spu.writeRegister(spu_reg::kNoiseModeLow, 0b00101000);     // voice 3 modulates from noise, voice 5 sounds noise
  std::vector<Event> events = {
      At(20000, [](Spu& s) { s.writeRegister(spu_reg::kControl, static_cast<std::uint16_t>(0xC000 | (15 << 10) | (3 << 8))); }),
      At(30000, [](Spu& s) { KeyOff(s, 0b00000010); }),
      At(50000, [](Spu& s) { s.writeRegister(spu_reg::kPitchModLow, 0b00001100); }),
      At(70000, [](Spu& s) { s.writeRegister(spu_reg::kControl, 0xC000); }),
  };
  return {2 * 44100, events};
}

// Voices may play what the SPU itself writes: the capture buffers and the reverb work area.
Render VoicesPlayingCaptureBuffersAndTheReverbArea(Spu& spu) {
  PowerUp(spu);
  UploadSamples(spu);
  LoadHallReverb(spu);
  spu.writeRegister(spu_reg::kReverbVolumeLeft, 0x4000);
  spu.writeRegister(spu_reg::kReverbVolumeRight, 0x4000);
  spu.writeRegister(spu_reg::kReverbModeLow, 0x0003);
  spu.writeRegister(spu_reg::kControl, 0xC081);
  spu.writeRegister(spu_reg::kCdVolumeLeft, 0x7FFF);
  StartVoice(spu, 0, kRough, 0x1000, 0x38F4, 0x5FCA);
  StartVoice(spu, 1, kTone, 0x0E00, 0x38F4, 0x5FCA);
  StartVoice(spu, 2, 0x0000, 0x1000, 0x00FF, 0x0000);   // CD left capture
  StartVoice(spu, 3, 0x0100, 0x0F00, 0x00FF, 0x0000);   // voice 1 capture
  StartVoice(spu, 4, (0x80000 - 0x0400) / 8, 0x2000, 0x00FF, 0x0000);  // the end of the reverb area
  std::vector<std::int16_t> cdda = RoughWave(2 * 30000, 11);
  std::vector<Event> events = {
      At(0, [cdda](Spu& s) { s.playCdda(reinterpret_cast<const std::uint8_t*>(cdda.data()), cdda.size() * 2); }),
      At(15000, [](Spu& s) { KeyOn(s, 0b11100); }),
  };
  return {44100, events};
}

struct Scenario {
  const char* name;
  Render (*setUp)(Spu&);
};
constexpr Scenario kScenarios[] = {
    {"OneVoice", OneVoice},
    {"EightVoicesWithSweepsKeyOffsAndOneShots", EightVoicesWithSweepsKeyOffsAndOneShots},
    {"TwentyFourVoicesThroughReverbWithCdInput", TwentyFourVoicesThroughReverbWithCdInput},
    {"PitchModulationAndNoise", PitchModulationAndNoise},
    {"VoicesPlayingCaptureBuffersAndTheReverbArea", VoicesPlayingCaptureBuffersAndTheReverbArea},
};

std::uint64_t HashOn(RenderPath path, Render (*setUp)(Spu&), bool stems = false) {
  Spu spu;
  spu.setRenderPath(path);
  Render render = setUp(spu);
  render.stems = stems;
  return RenderHash(spu, std::move(render));
}

std::map<std::string, std::uint64_t> ReadGoldens() {
  std::map<std::string, std::uint64_t> goldens;
  std::ifstream in(KESTREL_SPU_GOLDENS);
  std::string name, hash;
  while (in >> name >> hash) goldens[name] = std::stoull(hash, nullptr, 16);
  return goldens;
}

TEST(RenderGolden, ScenariosMatchTheirGoldensOnBothPaths) {
  const bool update = std::getenv("KESTREL_UPDATE_SPU_GOLDENS") != nullptr;
  const auto goldens = ReadGoldens();
  std::ostringstream written;
  for (const Scenario& scenario : kScenarios) {
    SCOPED_TRACE(scenario.name);
    const std::uint64_t reference = HashOn(RenderPath::kReference, scenario.setUp);
    EXPECT_EQ(HashOn(RenderPath::kFast, scenario.setUp), reference);
    EXPECT_EQ(HashOn(RenderPath::kFast, scenario.setUp, true), HashOn(RenderPath::kReference, scenario.setUp, true));
    written << scenario.name << " " << std::hex << std::uppercase << reference << "\n";
    if (update) continue;
    const auto golden = goldens.find(scenario.name);
    ASSERT_NE(golden, goldens.end()) << "no golden in " << KESTREL_SPU_GOLDENS;
    EXPECT_EQ(reference, golden->second) << "regenerate with KESTREL_UPDATE_SPU_GOLDENS=1 if the change is meant";
  }
  if (update) {
    std::ofstream(KESTREL_SPU_GOLDENS) << written.str();
    std::printf("wrote %s\n", KESTREL_SPU_GOLDENS);
  }
}

// Random voice settings, sample data, register writes and render sizes, rendered on both paths.
// Voices also play the capture buffers and the reverb work area, which the render writes.
TEST(RenderPaths, RandomSettingsRenderAlike) {
  std::mt19937 random(20261207);
  auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  auto word = [&] { return static_cast<std::uint16_t>(pick(0, 0xFFFF)); };
  for (int trial = 0; trial < 24; ++trial) {
    SCOPED_TRACE(trial);
    // One set of choices, replayed on each path.
    std::vector<std::function<void(Spu&)>> setUp;
    std::vector<Event> events;
    setUp.push_back([](Spu& s) { UploadSamples(s); });
    std::vector<std::uint16_t> raw(0x2000);  // unfiltered random blocks: every filter, shift and flag
    for (auto& w : raw) w = word();
    setUp.push_back([raw](Spu& s) {
      s.writeRegister(spu_reg::kTransferAddress, kSampleUnits + 0x800);
      s.writeDma(raw.data(), static_cast<int>(raw.size()));
    });
    if (pick(0, 1)) {
      setUp.push_back([](Spu& s) { LoadHallReverb(s); });
    } else if (pick(0, 1)) {
      // Random places in a work area small enough for the buffer address and the places to wrap
      // around it many times, sometimes within a few ticks; the base moves while it plays.
      std::array<std::uint16_t, 32> places;
      for (auto& w : places) w = word();
      const auto base = [&] { return static_cast<std::uint16_t>(0xFFFF - pick(0, pick(0, 1) ? 0x20 : 0x800)); };
      const std::uint16_t firstBase = base();
      setUp.push_back([=](Spu& s) {
        for (int i = 0; i < 32; ++i) s.writeRegister(spu_reg::Reverb(i), places[i]);
        s.writeRegister(spu_reg::kReverbBase, firstBase);
      });
      const std::uint16_t laterBase = base();
      events.push_back(At(pick(0, 8000), [=](Spu& s) { s.writeRegister(spu_reg::kReverbBase, laterBase); }));
    }
    const std::uint16_t control = static_cast<std::uint16_t>(0xC000 | (word() & 0x3FC5));  // IRQ on or off
    const std::uint16_t irqAddress = pick(0, 1) ? static_cast<std::uint16_t>(pick(0, 0x1FF))
                                                : static_cast<std::uint16_t>(kSampleUnits + pick(0, 0x1000));
    const std::uint16_t masks[6] = {word(), word(), word(), word(), word(), word()};
    // Reverb volumes of zero, with writes off, leave the reverb idle, its base perhaps at 0 (on the
    // capture buffers).
    const bool reverbHeard = pick(0, 2) != 0;
    const std::uint16_t mainVolumes[4] = {word(), word(), static_cast<std::uint16_t>(reverbHeard ? pick(0, 0x7FFF) : 0),
                                          static_cast<std::uint16_t>(reverbHeard ? pick(0, 0x7FFF) : 0)};
    setUp.push_back([=](Spu& s) {
      s.writeRegister(spu_reg::kIrqAddress, irqAddress);
      s.writeRegister(spu_reg::kControl, control);
      s.writeRegister(spu_reg::kPitchModLow, masks[0]);
      s.writeRegister(spu_reg::kNoiseModeLow, masks[1] & masks[2]);
      s.writeRegister(spu_reg::kReverbModeLow, masks[3]);
      s.writeRegister(spu_reg::kReverbModeHigh, masks[4]);
      s.writeRegister(spu_reg::kMainVolumeLeft, mainVolumes[0] & 0xE07F);
      s.writeRegister(spu_reg::kReverbVolumeLeft, mainVolumes[2]);
      s.writeRegister(spu_reg::kReverbVolumeRight, mainVolumes[3]);
      s.writeRegister(spu_reg::kCdVolumeLeft, masks[5]);
    });
    const int voices = pick(1, spu_reg::kVoiceCount);
    for (int v = 0; v < voices; ++v) {
      const std::uint16_t starts[] = {kTone, kRough, kOneShot, kBurst,
                                      static_cast<std::uint16_t>(kSampleUnits + 0x800 + 2 * pick(0, 0x3F0)),
                                      static_cast<std::uint16_t>(pick(0, 0x1F0)),     // the capture buffers
                                      static_cast<std::uint16_t>(0xFFFF - pick(0, 0x100))};  // the end of RAM
      const std::uint16_t pitches[] = {0x1000, static_cast<std::uint16_t>(pick(0, 0x4400)),
                                       static_cast<std::uint16_t>(pick(0x0800, 0x2000))};
      const std::uint16_t start = starts[pick(0, 6)], pitch = pitches[pick(0, 2)];
      const std::uint16_t adsrLow = word(), adsrHigh = word();
      const std::uint16_t left = pick(0, 3) ? static_cast<std::uint16_t>(pick(0, 0x7FFF)) : word();
      const std::uint16_t right = pick(0, 3) ? static_cast<std::uint16_t>(pick(0, 0x7FFF)) : word();
      setUp.push_back([=](Spu& s) {
        SetUpVoice(s, v, start, pitch, adsrLow, adsrHigh);
        Write(s, v, spu_reg::kVolumeLeft, left);
        Write(s, v, spu_reg::kVolumeRight, right);
      });
      events.push_back(At(pick(0, 3) ? 0 : pick(0, 6000), [v](Spu& s) { KeyOn(s, 1u << v); }));
      if (pick(0, 1)) events.push_back(At(pick(0, 8000), [v](Spu& s) { KeyOff(s, 1u << v); }));
      if (!pick(0, 3)) {
        const std::uint16_t level = word(), repeat = starts[pick(0, 6)];
        events.push_back(At(pick(0, 8000), [=](Spu& s) { Write(s, v, spu_reg::kEnvelopeLevel, level); }));
        events.push_back(At(pick(0, 8000), [=](Spu& s) { Write(s, v, spu_reg::kRepeatAddress, repeat); }));
      }
    }
    std::vector<int> chunks(8);
    for (int& n : chunks) n = pick(0, 2) ? pick(1, 64) : pick(65, 3000);
    const bool stems = pick(0, 3) == 0;
    auto hashOn = [&](RenderPath path) {
      Spu spu;
      spu.setRenderPath(path);
      PowerUp(spu);
      for (const auto& step : setUp) step(spu);
      return RenderHash(spu, {10000, events, chunks, stems});
    };
    EXPECT_EQ(hashOn(RenderPath::kFast), hashOn(RenderPath::kReference));
  }
}

// A powered-up SPU on `path` with the test samples and the Hall reverb loaded.
void PowerUpWithHallReverb(Spu& spu, RenderPath path) {
  spu.setRenderPath(path);
  PowerUp(spu);
  UploadSamples(spu);
  LoadHallReverb(spu);
}

// Where a place of the reverb's combs or all-pass stages is one of its reflections' places, the order
// of their accesses decides what is read: the Hall preset with each such pair made to coincide.
TEST(RenderPaths, CoincidingReverbPlacesRenderAlike) {
  const spu_reg::ReverbRegister echoes[] = {spu_reg::mLCOMB1, spu_reg::mRCOMB2, spu_reg::mLCOMB4, spu_reg::mRAPF1,
                                            spu_reg::mLAPF2};
  const spu_reg::ReverbRegister reflections[] = {spu_reg::mLSAME, spu_reg::mRSAME, spu_reg::mLDIFF,
                                                 spu_reg::mRDIFF, spu_reg::dRSAME, spu_reg::dLDIFF};
  for (const auto echo : echoes) {
    for (const auto reflection : reflections) {
      auto hashOn = [&](RenderPath path) {
        Spu spu;
        PowerUpWithHallReverb(spu, path);
        spu.writeRegister(spu_reg::Reverb(echo), spu.readRegister(spu_reg::Reverb(reflection)));
        spu.writeRegister(spu_reg::kReverbVolumeLeft, 0x6000);
        spu.writeRegister(spu_reg::kReverbVolumeRight, 0x6000);
        spu.writeRegister(spu_reg::kReverbModeLow, 1);
        spu.writeRegister(spu_reg::kControl, 0xC080);
        StartVoice(spu, 0, kRough, 0x1000, 0x00FF, 0x0000);
        return RenderHash(spu, {4000, {}, {32, 64, 29}, false});
      };
      EXPECT_EQ(hashOn(RenderPath::kFast), hashOn(RenderPath::kReference)) << echo << " on " << reflection;
    }
  }
}

// A reverb whose work area holds the capture buffers reads and writes what the render captures
// meanwhile, in the plain order; idle (no writes, not heard) it touches nothing there. Each state,
// with random places on the buffers and CD input to capture.
TEST(RenderPaths, ReverbOverTheCaptureBuffersRendersAlike) {
  std::mt19937 random(20261208);
  for (const bool writes : {false, true}) {
    for (const bool heard : {false, true}) {
      std::array<std::uint16_t, 32> places;
      for (auto& w : places) w = static_cast<std::uint16_t>(std::uniform_int_distribution<int>(0, 0x1FF)(random));
      auto hashOn = [&](RenderPath path) {
        Spu spu;
        PowerUpWithHallReverb(spu, path);
        for (int i = 0; i < 32; ++i)
          if (i < 2 || (i >= 10 && i < 30)) spu.writeRegister(spu_reg::Reverb(i), places[i]);  // places, not volumes
        spu.writeRegister(spu_reg::kReverbBase, 0);
        spu.writeRegister(spu_reg::kReverbVolumeLeft, heard ? 0x6000 : 0);
        spu.writeRegister(spu_reg::kReverbVolumeRight, heard ? 0x5000 : 0);
        spu.writeRegister(spu_reg::kReverbModeLow, 0b11);
        spu.writeRegister(spu_reg::kControl, static_cast<std::uint16_t>(0xC001 | (writes ? 0x0080 : 0)));
        spu.writeRegister(spu_reg::kCdVolumeLeft, 0x7FFF);
        spu.writeRegister(spu_reg::kCdVolumeRight, 0x7FFF);
        StartVoice(spu, 0, kRough, 0x1000, 0x00FF, 0x0000);
        StartVoice(spu, 1, kTone, 0x0E00, 0x00FF, 0x0000);
        std::vector<std::int16_t> cdda = RoughWave(2 * 12000, 5);
        std::vector<Event> events = {
            At(0, [cdda](Spu& s) { s.playCdda(reinterpret_cast<const std::uint8_t*>(cdda.data()), cdda.size() * 2); }),
        };
        return RenderHash(spu, {12000, events, {32, 64, 29, 1, 500}, false});
      };
      EXPECT_EQ(hashOn(RenderPath::kFast), hashOn(RenderPath::kReference)) << "writes " << writes << ", heard " << heard;
    }
  }
}

}  // namespace
}  // namespace kestrel::spu
