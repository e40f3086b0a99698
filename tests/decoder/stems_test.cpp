// Stems of a synthesized 24-voice log through our plugin: one rendering pass, and one pass per voice.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "decoder/decode_job.h"
#include "decoder/stem_outputs.h"
#include "support/answer_scope.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "synth_fixtures.h"

namespace kestrel::test {
namespace {

namespace fs = std::filesystem;

// All 24 voices, voice 23 keyed on at volume 0, XA then CD audio; the reverb optional.
std::string Score(bool reverb) {
  const std::string send = reverb ? " reverb=yes" : "";
  return std::string("format new\ntempo 240\nsteps 4\nvolume 85\n") + (reverb ? "reverb hall 40\n" : "") +
         "tail 1\n"
         "instrument pad wave=triangle attack=20 decay=300 sustain=70 release=200\n"
         "instrument pluck wave=saw attack=1 decay=120 sustain=40 release=100\n"
         "instrument hat wave=hat\n"
         "track pad inst=pad voices=0-7 vol=8 pan=-30" + send + "\n"
         "track arp inst=pluck voices=8-15 vol=8 pan=40\n"
         "track low inst=pad voices=16-21 vol=8" + send + "\n"
         "track hat inst=hat voices=22 vol=10\n"
         "track ghost inst=pad voices=23 vol=0\n"
         "pattern p\n"
         "  pad: C4+E4+G4+C5+E5+G5+C6+E6/8\n"
         "  arp: C5/1 E5 G5 C6 G5 E5 C5 G4\n"
         "  low: C2+G2+C3+E3+G3+C4/8\n"
         "  hat*4: x/2\n"
         "  ghost: C4/8\n"
         "end\n"
         "play p 2\n"
         "xa at=0 length=8 notes=C4 wave=sine vol=10 rate=37800 stereo=yes\n"
         "cd at=8 length=8 notes=G3 wave=sine vol=10\n";
}

std::vector<std::int16_t> Samples(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  std::vector<std::int16_t> samples;
  for (std::size_t at = 44; at + 1 < bytes.size(); at += 2)
    samples.push_back(static_cast<std::int16_t>(bytes[at] | (bytes[at + 1] << 8)));
  return samples;
}

class StemsTest : public ::testing::Test {
 protected:
  std::string Log(bool reverb) {
    const std::string path = folder / (reverb ? "wet.spu" : "dry.spu");
    logsynth::test_support::WriteLog(Score(reverb), path);
    return path;
  }
  DecodeOutcome Decode(const std::string& log, const std::string& stems, bool all = true, bool passes = false) {
    fs::create_directories(stems);
    DecodeRequest request;
    request.pluginPath = KESTREL_PLUGIN_PATH;
    request.logPath = log;
    request.outputName = "song";
    request.stemsFolder = stems;
    request.allStems = all;
    request.voicePasses = passes;
    DecodeJob::Shared job;
    job.decoding = true;
    return DecodeThread(job, request);
  }

  TempFolder folder;
  AnswerScope answers{MessageAnswer::Ok};
  std::vector<std::string>& messages = answers.shown;
};

TEST_F(StemsTest, TheTracksOfOnePassAddUpToTheMixAndAMutedVoiceStaysSilent) {
  const std::string dir = folder / "all";
  ASSERT_EQ(Decode(Log(true), dir), DecodeOutcome::Succeeded) << (messages.empty() ? "" : messages.back());
  const std::vector<std::int16_t> mix = Samples(StemPath(dir, "song", "mix"));
  ASSERT_GT(mix.size(), 44100u);
  std::vector<int> sum(mix.size(), 0);
  for (int t = 0; t < stems_abi::kTrackCount; ++t) {
    const std::vector<std::int16_t> track = Samples(StemPath(dir, "song", StemSuffix(t)));
    ASSERT_EQ(track.size(), mix.size()) << StemSuffix(t);
    const bool silent = std::all_of(track.begin(), track.end(), [](std::int16_t s) { return s == 0; });
    EXPECT_EQ(silent, t == 23) << StemSuffix(t);  // the reverb and the CD input sound too
    for (std::size_t i = 0; i < mix.size(); ++i) sum[i] += track[i];
  }
  int largest = 0;
  for (std::size_t i = 0; i < mix.size(); ++i) largest = std::max(largest, std::abs(sum[i] - mix[i]));
  RecordProperty("largest_difference", largest);
  EXPECT_EQ(largest, 0) << "nothing in this log clips";

  // Without --all-stems the silent voice is left out.
  const std::string sounding = folder / "sounding";
  ASSERT_EQ(Decode(Log(true), sounding, false), DecodeOutcome::Succeeded);
  EXPECT_TRUE(fs::exists(StemPath(sounding, "song", "voice22")));
  EXPECT_FALSE(fs::exists(StemPath(sounding, "song", "voice23")));
  EXPECT_EQ(std::distance(fs::directory_iterator(sounding), fs::directory_iterator()), 26);
}

TEST_F(StemsTest, VoicePassesGiveTheVoiceTracksOfOnePass) {
  const std::string log = Log(false);  // a voice's reverb would stay in its own track of a pass
  const std::string one = folder / "one", passes = folder / "passes";
  ASSERT_EQ(Decode(log, one), DecodeOutcome::Succeeded);
  ASSERT_EQ(Decode(log, passes, true, true), DecodeOutcome::Succeeded);
  EXPECT_NE(std::find_if(messages.begin(), messages.end(),
                         [](const std::string& m) { return m.find("each sounding voice takes a pass") != std::string::npos; }),
            messages.end());
  for (const std::string suffix : {"mix", "cd"})
    EXPECT_EQ(Samples(StemPath(one, "song", suffix)), Samples(StemPath(passes, "song", suffix))) << suffix;
  for (int v = 0; v < stems_abi::kVoiceTracks; ++v)
    EXPECT_EQ(Samples(StemPath(one, "song", StemSuffix(v))), Samples(StemPath(passes, "song", StemSuffix(v)))) << v;
  EXPECT_FALSE(fs::exists(StemPath(passes, "song", "reverb")));
}

TEST_F(StemsTest, AFolderThatCannotTakeTheTracksKeepsWhatItHad) {
  const std::string dir = folder / "out";
  fs::create_directories(dir);
  const std::string mix = folder.Write("out/song.mix.wav", "an earlier mix");
  fs::create_directory(StemPath(dir, "song", "voice05"));  // no file can take its place
  EXPECT_EQ(Decode(Log(true), dir), DecodeOutcome::Refused);
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(messages.back().find("Can't create the output file " + StemPath(dir, "song", "voice05")), std::string::npos)
      << messages.back();
  EXPECT_EQ(ReadFileBytes(mix).size(), 14u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);

  // A full disk: the decode fails, says why, and the earlier mix stays.
  fs::remove(StemPath(dir, "song", "voice05"));
  const std::string log = Log(true);
  {
    FileSizeLimit full(100000);
    EXPECT_EQ(Decode(log, dir), DecodeOutcome::Failed);
  }
  EXPECT_NE(messages.back().find("WAVE Decoding has failed: can't write"), std::string::npos) << messages.back();
  EXPECT_EQ(ReadFileBytes(mix).size(), 14u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  if (::geteuid() != 0) {  // root writes whatever the mode says
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(Decode(Log(true), dir), DecodeOutcome::Refused);
    EXPECT_NE(messages.back().find("Permission denied"), std::string::npos) << messages.back();
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(ReadFileBytes(mix).size(), 14u);
  }
}

}  // namespace
}  // namespace kestrel::test
