// The recorder as an emulator meets it: a log played through it over our plugin comes out as a new
// log that decodes to the same sound; bad settings and real plugins are refused through SPUtest.

#include <gtest/gtest.h>

#include <filesystem>
#include <variant>

#include "fakes/test_plugins.h"
#include "plugin/dynamic_library.h"
#include "plugin/spu_plugin_api.h"
#include "spulog/header_information.h"
#include "spulog/log_loader.h"
#include "support/log_files.h"
#include "support/run_program.h"
#include "tools/logsynth/synth_fixtures.h"

namespace kestrel::test {
namespace {

namespace fs = std::filesystem;

// Two passes that touch every kind of event (DMA uploads, reverb, XA and CD audio), two seconds of
// silence between them.
constexpr const char* kScore = R"(
game "Loop Test"
title "Closed"
tempo 240
steps 2
reverb studio-small 40
tail 1
instrument keys wave=triangle attack=2 decay=200 sustain=50 release=200 upload=dma
instrument bass wave=square attack=2 decay=100 sustain=60 release=100
track keys inst=keys voices=0-3 vol=30 reverb=yes
track bass inst=bass voices=4 vol=20
pattern a
  keys: r/1 C4+E4/3 G4/2 | C5/2 r/2
  bass: C2/4 G2/4
end
xa at=0 length=4 notes=C3 wave=sine vol=20 rate=37800 stereo=yes
cd at=4 length=4 notes=E3 wave=sine vol=16
play a
rest 16
play a
)";

class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(KESTREL_RECORDER_PATH, Recorder());
    fs::create_directory(folder / "out");
    logsynth::test_support::WriteLog(kScore, Original());
  }
  std::string Recorder() const { return folder / "libkestrel_spu_recorder.so"; }
  std::string Original() const { return folder / "song.spu"; }
  void Settings(const std::string& lines) const {
    folder.Write("kestrel_recorder.ini", "[Recorder]\nPlugin=" KESTREL_SPU_PLUGIN_PATH "\nOutputFolder=out\n" + lines);
  }
  ProgramResult Kestrel(std::vector<std::string> args, std::string prefix = {}) const {
    ProgramRun run;
    run.environment.push_back("SDL_AUDIODRIVER=dummy");
    if (prefix.empty()) return RunKestrelSpu(std::move(args), run);
    // A shell in front sets limits for the program it becomes.
    args.insert(args.begin(), {"/bin/sh", "-c", prefix + "; exec \"$0\" \"$@\"", kKestrelSpuProgram});
    run.args = std::move(args);
    return RunProgram(run);
  }
  ProgramResult PlayThroughRecorder(const std::string& prefix = {}) const {
    return Kestrel({"play", Original(), "--plugin", Recorder(), "--no-limiter"}, prefix);
  }
  std::vector<std::uint8_t> Decode(const std::string& log) const {
    const std::string wav = folder / (fs::path(log).filename().string() + ".wav");
    const auto r = Kestrel({"decode", log, "--plugin", KESTREL_SPU_PLUGIN_PATH, "-o", wav});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return ReadFileBytes(wav);
  }
  std::vector<std::string> Recordings() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder / "out")) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempFolder folder;
};

TEST_F(RecorderTest, APlayedLogRecordsAsALogThatDecodesToTheSameSound) {
  Settings("Start=Open\nGameTitle=Loop Test\nMusicTitle=Closed\nCopyright=(c) us\n");
  auto r = PlayThroughRecorder();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(Recordings(), std::vector<std::string>{"Loop Test - Closed 001.spu"}) << r.err;
  const std::string recording = folder / "out/Loop Test - Closed 001.spu";
  EXPECT_EQ(ReadHeaderInformation(recording).copyright, "(c) us");

  const auto original = Decode(Original());
  const auto recorded = Decode(recording);
  ASSERT_GT(original.size(), 44u);
  EXPECT_TRUE(original == recorded) << original.size() << " bytes against " << recorded.size();

  // A second recording takes the next number and leaves the first as it was.
  const auto first = ReadFileBytes(recording);
  r = PlayThroughRecorder();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Recordings(), (std::vector<std::string>{"Loop Test - Closed 001.spu", "Loop Test - Closed 002.spu"}));
  EXPECT_TRUE(ReadFileBytes(recording) == first);
}

TEST_F(RecorderTest, KeyOnStartsCompressedRecordingsThatSilenceEndsAndAFullDiskEndsAsAValidLog) {
  Settings("Compress=1\nGameTitle=Keyed\nStopAfterSilence=1\n");
  auto r = PlayThroughRecorder();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(Recordings(), (std::vector<std::string>{"Keyed 001.spu.gz", "Keyed 002.spu.gz"})) << r.err;
  auto loaded = LoadSpuLog(folder / "out/Keyed 001.spu.gz");
  ASSERT_TRUE(std::holds_alternative<LoadedLog>(loaded));
  LoadedLog& keyed = std::get<LoadedLog>(loaded);
  const auto events = ReadAllEvents(keyed);
  ASSERT_FALSE(events.empty());
  // Recording begins with the first key-on.
  EXPECT_EQ(events.front().kind, LogEventKind::RegisterWrite);
  EXPECT_EQ(events.front().address & ~2u, 0x1F801D88u);
  EXPECT_EQ(events.front().time, 0u);

  // A file-size limit stands in for a full disk: the log ends with its last whole event.
  Settings("GameTitle=Full\n");
  r = PlayThroughRecorder("trap '' XFSZ; ulimit -f 1200");  // 512-byte blocks
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("the disk refused more"), std::string::npos) << r.err;
  const std::string full = folder / "out/Full 001.spu";
  ASSERT_TRUE(fs::exists(full));
  EXPECT_LE(fs::file_size(full), 1200u * 512);
  loaded = LoadSpuLog(full);
  ASSERT_TRUE(std::holds_alternative<LoadedLog>(loaded));
  EXPECT_GT(std::get<LoadedLog>(loaded).totalLength, 1u);
  EXPECT_FALSE(ReadAllEvents(std::get<LoadedLog>(loaded)).empty());
  EXPECT_FALSE(Decode(full).empty());
}

// SPUtest's answer and its printed reason, for the settings as they stand.
std::pair<long, std::string> TestRecorder(const std::string& path) {
  const DynamicLibrary library = DynamicLibrary::Open(path);
  const SpuPluginApi api = BindSpuPluginApi(library);
  testing::internal::CaptureStdout();
  const long result = api.SPUtest();
  api.SPUconfigure();
  std::string out = testing::internal::GetCapturedStdout();
  // Without a working real plugin nothing else is forwarded, and nothing breaks.
  if (result != 0) {
    EXPECT_EQ(api.SPUinit(), -1);
    std::int16_t frames[64] = {1};
    api.SPUrender(frames, sizeof frames);
    EXPECT_EQ(frames[0], 0);
    api.SPUwriteRegister(0x1F801D88, 1);
    EXPECT_EQ(api.SPUshutdown(), 0);
  }
  return {result, out};
}

TEST_F(RecorderTest, SPUtestAndSPUconfigureSayWhyTheRecorderCannotWork) {
  const auto refused = [&](const std::string& why) {
    const auto [result, out] = TestRecorder(Recorder());
    EXPECT_EQ(result, -1);
    EXPECT_NE(out.find(why), std::string::npos) << out;
    EXPECT_NE(out.find(why), out.rfind(why)) << "said by SPUtest and by SPUconfigure: " << out;
  };
  refused("no settings file " + folder / "kestrel_recorder.ini");
  folder.Write("kestrel_recorder.ini", "[Recorder]\nOutputFolder=out\n");
  refused("names no Plugin");
  Settings("Start=Later\n");
  refused("Start must be KeyOn or Open, not \"Later\"");
  Settings("StopAfterSilence=-3\n");
  refused("StopAfterSilence must be seconds");
  folder.Write("kestrel_recorder.ini", "[Recorder]\nPlugin=libkestrel_spu_recorder.so\n");
  refused("is a recorder; a recorder cannot record through itself");
  folder.Write("kestrel_recorder.ini", std::string("[Recorder]\nPlugin=") + kNotAPlugin + "\n");
  refused("lacks SPUinit, SPUshutdown, SPUwriteRegister, SPUfreeze");
  folder.Write("kestrel_recorder.ini", "[Recorder]\nPlugin=gone.so\n");
  refused("gone.so does not exist");

  folder.Write("kestrel_recorder.ini", std::string("[Recorder]\nPlugin=") + kPluginWithoutRender + "\n");
  const auto [result, out] = TestRecorder(Recorder());
  EXPECT_EQ(result, 0) << out;
  EXPECT_NE(out.find("lacks SPUrender; those calls are passed over"), std::string::npos) << out;
}

}  // namespace
}  // namespace kestrel::test
