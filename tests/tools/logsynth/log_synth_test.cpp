#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "instrument_samples.h"
#include "adpcm_encoder.h"
#include "spu/adpcm.h"
#include "spulog/header_information.h"
#include "support/temp_folder.h"
#include "synth_fixtures.h"
#include "waveform_synth.h"

namespace kestrel::logsynth {
namespace {

using test::ReadAllEvents;
using test_support::Synthesise;
using test_support::WriteLog;

constexpr std::uint32_t kKeyOnLow = 0x1F801D88;

const std::string kSong = R"(
game "Test Game"
title "Test Tune"
copyright "(c) Test"
tempo 120
steps 4
tail 1
reverb room 30
instrument tone wave=sine attack=1 decay=10 sustain=100 release=50
instrument drum wave=kick upload=dma
track melody inst=tone voices=0-1 reverb=yes
track beat inst=drum voices=23
pattern p
  melody: C4/4 E4 G4 C5
  beat: x/8 x/8
end
play p 2
xa at=0 length=8 notes=A3 rate=18900 stereo=no
cd at=8 length=8 notes=E4
)";

LoadedLog Load(const std::string& path) {
  auto loaded = LoadSpuLog(path);
  EXPECT_TRUE(std::holds_alternative<LoadedLog>(loaded)) << path;
  return std::move(std::get<LoadedLog>(loaded));
}

// kSong written, loaded and read through.
LoadedLog WriteAndLoad(const std::string& path) {
  WriteLog(kSong, path);
  return Load(path);
}

struct SongLog {
  test::TempFolder folder;
  LoadedLog log{WriteAndLoad(folder / "song.spu")};
  std::vector<LogEvent> events{ReadAllEvents(log)};
};

TEST(LogSynth, NewFormatLogHoldsEveryEventKindAndTheTitles) {
  const SongLog song;
  const LoadedLog& log = song.log;
  EXPECT_EQ(log.type, LogFileType::New);
  // 32 steps at 8 steps a second = 4 s, then the 1 s tail.
  EXPECT_EQ(log.totalLength, 4 * 44100u + 44100u);
  // The demo tests see the game and music titles arrive too.
  EXPECT_EQ(ReadHeaderInformation(song.folder / "song.spu").copyright, "(c) Test");

  const auto& events = song.events;
  std::uint32_t previous = 0, keyedOn = 0;
  int dma = 0, xa = 0, cd = 0;
  for (const LogEvent& e : events) {
    EXPECT_GE(e.time, previous);
    EXPECT_LT(e.time, log.totalLength);
    previous = e.time;
    EXPECT_FALSE(InvalidEventLine(e)) << *InvalidEventLine(e);
    if (e.kind == LogEventKind::RegisterWrite && e.address == kKeyOnLow) keyedOn |= e.value;
    if (e.kind == LogEventKind::DmaWrite) ++dma;
    if (e.kind == LogEventKind::XaBlock) {
      ++xa;
      ASSERT_EQ(e.data.size(), kXaBlockSize);
      const auto s32 = [&](int at) { std::int32_t v; std::memcpy(&v, e.data.data() + at, 4); return v; };
      EXPECT_EQ(s32(0), 18900);
      EXPECT_EQ(s32(8), 0);  // mono
      EXPECT_GT(s32(12), 0);
      EXPECT_LE(s32(12), 16384);
    }
    if (e.kind == LogEventKind::CdAudio) {
      ++cd;
      EXPECT_EQ(e.count % 4, 0u);  // whole stereo frames
    }
  }
  EXPECT_EQ(keyedOn, 0x3u);  // both melody voices took turns
  EXPECT_EQ(dma, 1);         // the drum, once, before its first note
  // 1 s of XA at 18,900 Hz mono in sectors of 4,032 samples; 1 s of CD audio in 588-frame sectors.
  EXPECT_EQ(xa, 5);
  EXPECT_EQ(cd, 75);

  // Reverb as asked: enabled in the control register, on the melody's voices only.
  EXPECT_EQ(RegisterFromImage(*log.block, 0x1F801DAA) & 0x80, 0x80);
  EXPECT_EQ(RegisterFromImage(*log.block, 0x1F801D98), 0x3);
  EXPECT_EQ(RegisterFromImage(*log.block, 0x1F801DA2), (0x80000 - 0x26C0) / 8);
}

TEST(LogSynth, OldFormatHasOnlyRegisterWritesAndEndsOnItsLength) {
  test::TempFolder folder;
  const std::string path = folder / "old.spu";
  std::string score = kSong.substr(0, kSong.find("xa at"));
  score.replace(score.find(" upload=dma"), 11, "");
  WriteLog("format old\n" + score, path);
  LoadedLog log = Load(path);
  EXPECT_EQ(log.type, LogFileType::Old);
  EXPECT_EQ(log.totalLength, 5 * 44100u);
  const auto events = ReadAllEvents(log);
  ASSERT_EQ(events.size(), log.oldFormatCount);
  EXPECT_EQ(events.back().time, log.totalLength);
  for (const LogEvent& e : events) EXPECT_EQ(e.kind, LogEventKind::RegisterWrite);
}

TEST(LogSynth, SamplesInSoundRamDecodeBackToTheirWaveform) {
  const SongLog song;
  const auto& events = song.events;
  const auto start = std::find_if(events.begin(), events.end(), [](const LogEvent& e) {
    return e.kind == LogEventKind::RegisterWrite && e.address == 0x1F801C06;  // voice 0 start
  });
  ASSERT_NE(start, events.end());
  const std::uint8_t* blocks = song.log.block->soundRam + start->value * 8u;

  // Four cycles: the decoded second half (the loop) matches one synthesised cycle.
  const auto cycle = SynthesiseCycle(Waveform::Sine, kCycleLength, 16);
  const int blockCount = 4 * kCycleLength / spu::kAdpcmSamplesPerBlock;
  std::vector<std::int16_t> decoded(static_cast<std::size_t>(blockCount) * spu::kAdpcmSamplesPerBlock);
  spu::AdpcmHistory history;
  for (int b = 0; b < blockCount; ++b) {
    spu::DecodeAdpcmBlock(blocks + b * spu::kAdpcmBlockBytes, history, decoded.data() + b * spu::kAdpcmSamplesPerBlock);
  }
  for (int i = 0; i < kCycleLength; ++i) {
    EXPECT_NEAR(decoded[static_cast<std::size_t>(2 * kCycleLength + i)], cycle[static_cast<std::size_t>(i)], 400) << i;
  }
  // The loop runs from the third cycle's first block to the last block.
  EXPECT_EQ(blocks[(blockCount / 2) * 16 + 1] & spu::kAdpcmLoopStart, spu::kAdpcmLoopStart);
  EXPECT_EQ(blocks[(blockCount - 1) * 16 + 1] & 3, spu::kAdpcmLoopEnd | spu::kAdpcmLoopRepeat);
}

TEST(LogSynth, DmaUploadSendsTheSampleToTheTransferAddress) {
  const SongLog song;
  const auto& events = song.events;
  const auto dma = std::find_if(events.begin(), events.end(),
                                [](const LogEvent& e) { return e.kind == LogEventKind::DmaWrite; });
  ASSERT_NE(dma, events.end());
  const auto address = std::find_if(std::make_reverse_iterator(dma), events.rend(), [](const LogEvent& e) {
    return e.kind == LogEventKind::RegisterWrite && e.address == 0x1F801DA6;
  });
  ASSERT_NE(address, events.rend());
  const std::uint32_t at = address->value * 8u;
  // Not in the initial image: the drum arrives only by DMA, as one-shot kick blocks.
  const std::uint8_t* ram = song.log.block->soundRam;
  EXPECT_TRUE(std::all_of(ram + at, ram + at + dma->data.size(),
                          [](std::uint8_t b) { return b == 0; }));
  const auto kick = SynthesiseOneShot(Waveform::Kick, 0);
  EXPECT_EQ(dma->data, EncodeAdpcm(kick));
  // The drum's voice starts from that address.
  const auto voice = std::find_if(dma, events.end(), [](const LogEvent& e) {
    return e.kind == LogEventKind::RegisterWrite && e.address == 0x1F801C00 + 16 * 23 + 6;
  });
  ASSERT_NE(voice, events.end());
  EXPECT_EQ(voice->value * 8u, at);
}

TEST(LogSynth, BuildFaultsNameTheirLine) {
  const std::string voices = "instrument s wave=sine\ntrack t inst=s voices=0-1\npattern p\n";
  const struct { std::string text; int line; std::string message; } cases[] = {
      {voices + "  t: C4+E4+G4\nend\nplay p\n", 4, "a chord of 3 notes needs as many voices on track 't'"},
      {voices + "  t: C4 C8\nend\nplay p\n", 4, "note C8 is too high for instrument 's'"},
      {"format old\ninstrument d upload=dma\n" + voices + "  t: C4\nend\nplay p\n", 1,
       "the old format holds register writes only: instrument 'd' cannot be uploaded by DMA"},
      {"format old\n" + voices + "  t: C4\nend\nplay p\ncd length=4\n", 1,
       "the old format holds register writes only: no xa or cd"},
      {"tempo 20\ninstrument s\ntrack t inst=s voices=0\npattern p length=65536\n  t: C4\nend\nplay p\n", 0, "the song lasts longer than 30 minutes"},
      {voices + "  t: C4\nend\nplay p\ncd length=65536\n", 7, "the stream ends after 30 minutes"},
      {"steps 48\n" + voices + "  t*256: C4+E4 C4+E4 C4+E4 C4+E4\nend\nplay p 100\n", 5, "more than 200000 notes"},
  };
  for (const auto& c : cases) {
    auto built = Synthesise(c.text);
    ASSERT_TRUE(std::holds_alternative<ScoreError>(built)) << c.text;
    EXPECT_EQ(std::get<ScoreError>(built).line, c.line);
    EXPECT_EQ(std::get<ScoreError>(built).message, c.message);
  }
}

TEST(LogSynth, KeyOffNeverCutsTheNoteThatFollowsOnItsVoice) {
  // One voice, notes back to back: each key on takes over without a key off at that moment.
  test::TempFolder folder;
  WriteLog("instrument s\ntrack t inst=s voices=5\npattern p\n  t: C4/2 D4 E4\nend\nplay p\n", folder / "k.spu");
  LoadedLog log = Load(folder / "k.spu");
  std::vector<std::uint32_t> keyOn, keyOff;
  for (const LogEvent& e : ReadAllEvents(log)) {
    if (e.address == 0x1F801D88) keyOn.push_back(e.time);
    if (e.address == 0x1F801D8C) keyOff.push_back(e.time);
  }
  ASSERT_EQ(keyOn.size(), 3u);
  ASSERT_EQ(keyOff.size(), 1u);  // only the last note is keyed off
  EXPECT_GT(keyOff[0], keyOn[2]);
}

}  // namespace
}  // namespace kestrel::logsynth
