#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>

#include "envelope_rates.h"
#include "note_pitch.h"
#include "score_parser.h"

namespace kestrel::logsynth {
namespace {

Score Parse(const std::string& text) {
  auto result = ParseScore(text);
  if (auto* error = std::get_if<ScoreError>(&result)) ADD_FAILURE() << error->Text();
  return std::holds_alternative<Score>(result) ? std::get<Score>(result) : Score{};
}

const std::string kMinimal = R"(
instrument s wave=sine
track t inst=s voices=0
pattern p
  t: C4/4
end
play p
)";

TEST(ScoreParser, ReadsEveryStatement) {
  const Score score = Parse(R"(# a comment
game "Kestrel Demo Disc"   # after a statement
title Night  Drive
copyright "(c) 2026 #1"
format old
gzip yes
tempo 90.5
steps 2
volume 70
tail 1.5
reverb hall 30
instrument lead wave=square adsr=0x80FF,0x1FC0 loop=no length=0.5
instrument pad wave=triangle attack=100 sustain=50 release=400
track melody inst=lead voices=0-2,5 vol=60 pan=-40 reverb=yes gate=80 transpose=-12
track chords inst=pad voices=6-9
pattern a
  melody: C4/2 E4 G4+C5/4v50p20 r/2 | x
  melody*2: D4
  chords: C4+E4+G4/8
end
pattern b length=32
  chords: F4/2
end
play a+b 2
rest 4
play a
)");
  EXPECT_EQ(score.gameTitle, "Kestrel Demo Disc");
  EXPECT_EQ(score.musicTitle, "Night Drive");
  EXPECT_EQ(score.copyright, "(c) 2026 #1");
  EXPECT_EQ(score.format, LogFileType::Old);
  EXPECT_TRUE(score.gzip);
  EXPECT_DOUBLE_EQ(score.tempo, 90.5);
  EXPECT_EQ(score.stepsPerBeat, 2);
  EXPECT_EQ(score.mainVolume, 70);
  EXPECT_DOUBLE_EQ(score.tailSeconds, 1.5);
  EXPECT_EQ(score.reverb.preset, "hall");
  EXPECT_EQ(score.reverb.volume, 30);

  const Instrument& lead = *score.FindInstrument("lead");
  EXPECT_EQ(lead.waveform, Waveform::Square);
  EXPECT_EQ(lead.envelope.adsr1, 0x80FF);
  EXPECT_EQ(lead.envelope.adsr2, 0x1FC0);
  EXPECT_EQ(lead.loop, false);
  EXPECT_DOUBLE_EQ(lead.seconds, 0.5);

  const Track& melody = *score.FindTrack("melody");
  EXPECT_EQ(melody.voices, (std::vector<int>{0, 1, 2, 5}));
  EXPECT_EQ(melody.pan, -40);
  EXPECT_TRUE(melody.reverb);
  EXPECT_EQ(melody.gate, 80);
  EXPECT_EQ(melody.transpose, -12);

  const Pattern& a = score.patterns.at("a");
  ASSERT_EQ(a.lines.size(), 2u);
  const auto& notes = a.lines[0].events;
  ASSERT_EQ(notes.size(), 6u);  // the rest is no event; "*2" repeats its line
  EXPECT_EQ(notes[0].notes, std::vector<int>{60});
  EXPECT_EQ(notes[1].step, 2);  // E4 keeps the length 2
  EXPECT_EQ(notes[2].notes, (std::vector<int>{67, 72}));
  EXPECT_EQ(notes[2].length, 4);
  EXPECT_EQ(notes[2].volume, 50);
  EXPECT_EQ(notes[2].pan, 20);
  EXPECT_EQ(notes[3].notes, std::vector<int>{-1});  // x: the instrument's root
  EXPECT_EQ(notes[3].step, 10);
  EXPECT_EQ(notes[4].step, 12);  // the second line goes on where the first stopped
  EXPECT_EQ(notes[5].step, 13);
  EXPECT_EQ(a.length, 14);
  EXPECT_EQ(score.patterns.at("b").length, 32);  // the declared length is longer

  // a+b twice sound together and advance by the longer; rest and a follow.
  ASSERT_EQ(score.song.size(), 5u);
  EXPECT_EQ(score.song[0].step, 0);
  EXPECT_EQ(score.song[1].step, 0);
  EXPECT_EQ(score.song[2].step, 32);
  EXPECT_EQ(score.song[4].step, 68);
  EXPECT_EQ(score.songSteps, 82);
}

// The synthesizer test checks the rate, channels and length of streams in the log.
TEST(ScoreParser, AStreamWithoutAtStartsWhereTheSongEndsSoFar) {
  const Score score = Parse(kMinimal + "xa length=8 notes=A3+E4\ncd at=2 vol=10\n");
  ASSERT_EQ(score.streams.size(), 2u);
  EXPECT_EQ(score.streams[0].step, 4);
  EXPECT_EQ(score.streams[0].notes, (std::vector<int>{57, 64}));
  EXPECT_EQ(score.streams[1].kind, StreamKind::CdAudio);
  EXPECT_EQ(score.streams[1].step, 2);
}

struct BadScore { std::string text; int line; std::string message; };

TEST(ScoreParser, FaultsNameTheirLine) {
  const BadScore cases[] = {
      {"tempo 120\nbogus 1\n", 2, "unknown statement 'bogus'"},
      {"title \"open\n", 1, "unclosed quote"},
      {"tempo fast\n", 1, "tempo is 20 to 400"},
      {"steps 0\n", 1, "steps per beat must be a whole number from 1 to 48"},
      {"format mp3\n", 1, "format is 'new' or 'old'"},
      {"reverb cathedral\n", 1, "unknown reverb preset 'cathedral' (room studio-small"},
      {"instrument a wave=organ\n", 1, "unknown wave 'organ'"},
      {"instrument a wave=sine wav=x.wav\n", 1, "'wave' or 'wav'"},
      {"instrument a attack=fast\n", 1, "attack must be a number"},
      {"instrument a colour=red\n", 1, "unknown option 'colour'"},
      {"instrument a vol\n", 1, "expected key=value, found 'vol'"},
      {"instrument a loop=yes loop=no\n", 1, "'loop' given twice"},
      {"instrument a adsr=12\n", 1, "adsr is two register values"},
      {"instrument a\ninstrument a\n", 2, "instrument 'a' defined twice"},
      {"instrument s\ntrack t inst=s voices=0-24\n", 2, "voice must be a whole number from 0 to 23"},
      {"instrument s\ntrack t inst=s\n", 2, "needs voices="},
      {"instrument s\ntrack t inst=nothing voices=1\npattern p\n t: C4\nend\nplay p\n", 2,
       "unknown instrument 'nothing'"},
      {"instrument s\ntrack t inst=s voices=1\ntrack u inst=s voices=0-3\n", 3, "voice 1 used by two tracks"},
      {"instrument s\ntrack t inst=s voices=0\npattern p\n  t: C4 H4\nend\n", 4, "bad note 'H4'"},
      {"instrument s\ntrack t inst=s voices=0\npattern p\n  t: C4/0\nend\n", 4, "bad length in 'C4/0'"},
      {"instrument s\ntrack t inst=s voices=0\npattern p\n  t: C4v101\nend\n", 4, "bad volume"},
      {"instrument s\ntrack t inst=s voices=0\npattern p\n  t: C4p-200\nend\n", 4, "bad pan"},
      {"instrument s\ntrack t inst=s voices=0\npattern p\n  u: C4\nend\n", 4, "unknown track 'u'"},
      {"instrument s\ntrack t inst=s voices=0\npattern p\n  t C4\nend\n", 4, "expected 'TRACK: notes'"},
      {"pattern p\n\n", 1, "pattern 'p' has no 'end'"},
      {"end\n", 1, "'end' without 'pattern'"},
      {"play nothing\n", 1, "unknown pattern 'nothing'"},
      {"tempo 100\n", 0, "the score plays nothing"},
      {kMinimal + "xa rate=20000\n", 8, "XA rate is 18900 or 37800"},
      {kMinimal + "pattern big length=65536\n  t: C4\nend\nplay big 100\n", 11, "the song is too long"},
  };
  for (const BadScore& bad : cases) {
    auto result = ParseScore(bad.text);
    ASSERT_TRUE(std::holds_alternative<ScoreError>(result)) << bad.text;
    const ScoreError& error = std::get<ScoreError>(result);
    EXPECT_EQ(error.line, bad.line) << bad.text << " -> " << error.Text();
    EXPECT_NE(error.message.find(bad.message), std::string::npos) << bad.text << " -> " << error.Text();
  }
  EXPECT_EQ((ScoreError{7, "x"}.Text()), "line 7: x");
}

TEST(ScoreParser, BinaryGarbageIsAnErrorNotACrash) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
  EXPECT_TRUE(std::holds_alternative<ScoreError>(ParseScore(garbage)));
  EXPECT_TRUE(std::holds_alternative<ScoreError>(ParseScore("")));
}

TEST(NotePitch, NamesAndRegisters) {
  for (const auto& [name, note] : {std::pair{"C4", 60}, {"A4", 69}, {"F#3", 54}, {"Bb2", 46}, {"c-1", 0}, {"G9", 127},
                                   {"Ab-1", 8}}) {
    EXPECT_EQ(ParseNoteName(name), note) << name;
  }
  for (const char* bad : {"", "H4", "C", "C10", "G#9", "C#b4", "C4x", "Cb-1"}) {
    EXPECT_FALSE(ParseNoteName(bad)) << bad;
  }
  EXPECT_DOUBLE_EQ(NoteFrequency(69), 440.0);
  EXPECT_NEAR(NoteFrequency(60), 261.626, 0.001);
  // 0x1000 plays the sample at 44,100 Hz: a sample at 22,050 Hz one octave up is 0x1000.
  EXPECT_EQ(PitchRegister(22050, 220, 440), 0x1000);
  EXPECT_EQ(PitchRegister(44100, 440, 220), 0x0800);
  EXPECT_EQ(PitchRegister(44100, 440, 1759.9), 0x3FFF);  // the highest rate
  EXPECT_FALSE(PitchRegister(44100, 440, 1760));
}

TEST(EnvelopeRates, TimesBecomeTheNearestHardwareRates) {
  for (const double ms : {1.0, 10.0, 100.0, 1000.0}) {
    EnvelopeTimes times;
    times.attackMs = ms;
    times.decayMs = ms;
    times.releaseMs = ms;
    times.sustainPercent = 25;  // far enough down for a long decay to fit
    const EnvelopeDurations d = DurationsOf(EnvelopeFromTimes(times));
    // Adjacent hardware rates are at most a factor of two apart.
    EXPECT_NEAR(std::log2(d.attack / (ms * 44.1)), 0.0, 0.6) << ms;
    EXPECT_NEAR(std::log2(d.decay / (ms * 44.1)), 0.0, 1.0) << ms;
    EXPECT_NEAR(std::log2(d.release / (ms * 44.1)), 0.0, 1.0) << ms;
  }
  EnvelopeTimes held;
  held.sustainPercent = 50;
  const Envelope envelope = EnvelopeFromTimes(held);
  EXPECT_EQ(envelope.adsr1 & 0xF, 7);             // level (7 + 1) * 0x800 = half
  EXPECT_EQ(envelope.adsr1 & 0x8000, 0);          // linear attack
  EXPECT_EQ((envelope.adsr2 >> 6) & 0x7F, 0x7F);  // sustain never steps
  EXPECT_EQ(envelope.adsr2 & 0x20, 0x20);         // exponential release

  held.fadeMs = 500;
  EXPECT_EQ(EnvelopeFromTimes(held).adsr2 & 0xC000, 0xC000);  // exponential decrease

  EnvelopeTimes full;
  full.sustainPercent = 100;
  EXPECT_EQ((EnvelopeFromTimes(full).adsr1 >> 4) & 0xF, 15);  // a slow decay keeps the level
}

}  // namespace
}  // namespace kestrel::logsynth
