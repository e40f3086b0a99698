// kestrel-spu play and decode, run as programs against the recording plugin.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "fakes/test_plugins.h"
#include "spulog/log_format.h"
#include "support/log_files.h"
#include "support/run_program.h"

namespace kestrel::test {
namespace {

class CommandTest : public ::testing::Test {
 protected:
  // `writes` register writes to `address`, value i at 1000 * i samples. (A total of exactly
  // 44100 would read as the old format's marker.)
  std::string WriteLog(std::uint32_t total, const std::string& name = "song.spu", int writes = 0,
                       std::uint32_t address = 0x1F801C04) {
    SpuLogWriter log = NewFormatLog(total);
    for (int i = 0; i < writes; ++i) {
      log.AddRegisterWrite(1000u * static_cast<std::uint32_t>(i), address, static_cast<std::uint16_t>(i));
    }
    return test::WriteLog(folder, name, log);
  }
  ProgramResult Run(std::vector<std::string> args, ProgramRun run = {}) {
    run.environment.push_back("KESTREL_RECORDING_LOG=" + Recording());
    run.environment.push_back("SDL_AUDIODRIVER=dummy");
    return RunKestrelSpu(std::move(args), run);
  }
  std::string Recording() const { return folder / "calls.txt"; }
  std::vector<std::string> Calls() const {
    std::ifstream in(Recording());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  int Count(const std::string& line) const {
    const auto calls = Calls();
    return static_cast<int>(std::count(calls.begin(), calls.end(), line));
  }

  TempFolder folder;
};

TEST_F(CommandTest, DecodeWritesExactlyTheNamedFile) {
  const std::string out = folder / "out.wav";
  const auto r = Run({"decode", WriteLog(kSampleRate * 2), "--plugin", kRecordingPlugin, "-o", out, "--seconds", "1"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("WAVE Decoding has been successful."), std::string::npos);
  EXPECT_EQ(ReadFileBytes(out).size(), 176684u);
}

TEST_F(CommandTest, DecodeByNameWritesIntoTheWavFolderWithWavAppended) {
  ProgramRun run;
  run.workingFolder = folder.Path();
  const auto r = Run({"decode", WriteLog(30000), "--plugin", kRecordingPlugin, "--name", "take1.wav", "--console"}, run);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(folder / "wav/take1.wav.wav"));
  EXPECT_NE(r.out.find("* Starting Decode ..... Please wait\n"), std::string::npos);
}

TEST_F(CommandTest, DecodeRefusalsPrintTheMessageAndFail) {
  const std::string log = WriteLog(kSampleRate * 2);
  std::filesystem::copy_file(log, folder / "song.gz");
  auto r = Run({"decode", folder / "song.gz", "--plugin", kRecordingPlugin, "-o", folder / "x.wav"});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.err.find("Can't decode compressed file."), std::string::npos) << r.err;

  r = Run({"decode", log, "--plugin", kRecordingPlugin, "--name", "a", "-o", folder / "b.wav"});
  EXPECT_EQ(r.exitCode, 2);
}

TEST_F(CommandTest, DecodeInterruptedLeavesAValidWavFile) {
  const std::string out = folder / "long.wav";
  ProgramRun run;
  run.interruptAfterMs = 50;
  run.interruptWhenOutputHas = "* Starting Decode";
  const auto r = Run({"decode", WriteLog(kSampleRate * 3000), "--plugin", kRecordingPlugin, "-o", out, "--console"}, run);
  EXPECT_EQ(r.exitCode, 130) << r.err;
  EXPECT_NE(r.err.find("WAVE Decoding has been aborted."), std::string::npos);
  const auto bytes = ReadFileBytes(out);
  ASSERT_GT(bytes.size(), 44u);
  EXPECT_EQ(U32At(bytes, 40), bytes.size() - 44);
  EXPECT_EQ(Calls().back(), "SPUshutdown");
}

std::string FileText(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  return {bytes.begin(), bytes.end()};
}

TEST_F(CommandTest, RenderReportsEachBadInputAndRendersTheRest) {
  const std::string good = WriteLog(kSampleRate * 2, "good.spu");
  std::filesystem::copy_file(good, folder / "packed.gz");  // the gz reader takes plain bytes too
  std::ofstream(folder / "list.klt") << "[Kestrel SPU Player PlayList]\nRegisteredNumber=2\nFilePath[0]="
                                     << folder / "packed.gz" << "\nFilePath[1]=" << folder / "gone.spu"
                                     << "\n";
  const std::string out = folder / "out";
  const auto r = Run({"render", good, folder / "list.klt", folder / "no-folder/", folder / "none.klt", "--plugin",
                      kRecordingPlugin, "-o", out, "--seconds", "1", "--jobs", "2", "--json"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  const auto summary = nlohmann::json::parse(r.out);
  std::map<std::string, std::string> results;
  for (const auto& log : summary["logs"]) results[log["path"]] = log["result"].get<std::string>() + " " + log["reason"].get<std::string>();
  ASSERT_EQ(results.size(), 5u) << r.out;
  EXPECT_EQ(results[good], "rendered ");
  EXPECT_EQ(results[folder / "packed.gz"], "rendered ");
  EXPECT_NE(results[folder / "gone.spu"].find("failed Can't open"), std::string::npos);
  EXPECT_NE(results[folder / "no-folder/"].find("failed No such file"), std::string::npos);
  EXPECT_NE(results[folder / "none.klt"].find("failed No such file"), std::string::npos);
  EXPECT_EQ(summary["rendered"], 2);
  EXPECT_EQ(summary["failed"], 3);
  EXPECT_NEAR(summary["logs"][0]["audioSeconds"].get<double>() + summary["logs"][1]["audioSeconds"].get<double>(), 2.0, 0.01);
  EXPECT_EQ(ReadFileBytes(out + "/packed.wav").size(), 176684u);
  EXPECT_EQ(ReadFileBytes(out + "/good.wav"), ReadFileBytes(out + "/packed.wav"));
  EXPECT_NE(r.err.find("5 logs: 2 rendered, 3 failed"), std::string::npos) << r.err;
}

TEST_F(CommandTest, RenderKeepsExistingOutputsUnlessToldToReplaceThem) {
  const std::string log = WriteLog(kSampleRate * 2, "take.spu");
  const std::string out = folder / "out";
  std::filesystem::create_directory(out);
  std::ofstream(out + "/take.flac") << "keep";
  std::vector<std::string> args{"render", log, "--plugin", kRecordingPlugin, "-o", out, "--format", "flac",
                                "--name-template", "{dir}-{name}-{index}"};
  auto r = Run(args);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::string named = out + "/" + std::filesystem::path(folder.Path()).filename().string() + "-take-001.flac";
  EXPECT_EQ(FileText(named).substr(0, 4), "fLaC");

  args[args.size() - 1] = "{name}";
  r = Run(args);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("skipped"), std::string::npos) << r.out;
  EXPECT_EQ(FileText(out + "/take.flac"), "keep");

  args.push_back("--overwrite");
  EXPECT_EQ(Run(args).exitCode, 0);
  EXPECT_EQ(ReadFileBytes(out + "/take.flac"), ReadFileBytes(named));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 2);  // no temporary file left

  // Stems: a folder per log, under the same no-overwrite rule.
  args = {"render", log, "--plugin", kRecordingPlugin, "-o", out, "--stems"};
  EXPECT_EQ(Run(args).exitCode, 0);
  EXPECT_TRUE(std::filesystem::exists(out + "/take/take.mix.wav"));
  EXPECT_NE(Run(args).out.find("skipped"), std::string::npos);
}

TEST_F(CommandTest, RenderInterruptedKeepsFinishedFilesAndLeavesNoPartialOne) {
  const std::string out = folder / "out";
  ProgramRun run;
  run.interruptAfterMs = 50;
  run.interruptWhenOutputHas = "rendered";
  const auto r = Run({"render", WriteLog(kSampleRate * 2, "a.spu"), WriteLog(kSampleRate * 3000, "b.spu"), "--plugin",
                      kRecordingPlugin, "-o", out, "--jobs", "1"},
                     run);
  EXPECT_EQ(r.exitCode, 130) << r.err;
  EXPECT_NE(r.out.find("1 interrupted"), std::string::npos) << r.out;
  const auto bytes = ReadFileBytes(out + "/a.wav");
  ASSERT_GT(bytes.size(), 2 * 176400u);
  EXPECT_EQ(U32At(bytes, 40), bytes.size() - 44);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 1);
}

TEST_F(CommandTest, PlayRunsALogToItsEndWithTheOptionsApplied) {
  const auto r = Run({"play", WriteLog(4000, "song.spu", 3, 0x1F801D88), "--plugin", kRecordingPlugin, "--no-limiter",
                      "--tempo", "200", "--level", "0=50", "--mute", "3", "--block-register", "0x1f801d88",
                      "--dynamic-orchestra", "--console"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("* Shutdown SPU ..... OK\n"), std::string::npos);
  const auto calls = Calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "SPUclose");
  EXPECT_EQ(calls.back(), "SPUshutdown");
  EXPECT_GT(Count("SPUasync 16896"), 0);
  EXPECT_GT(Count("SPUwriteRegister 1f801d84 7fff"), 0);
  EXPECT_EQ(Count("SPUwriteRegister 1f801d88 0001"), 0);
  EXPECT_EQ(Count("SPUwriteRegister 1f801c30 0000"), 1);  // voice 3 muted in the mixer's pass
}

TEST_F(CommandTest, PlayRefusesBadOptionsAndReportsFailures) {
  const std::string log = WriteLog(4000);
  EXPECT_EQ(Run({"play", log, "--plugin", kRecordingPlugin, "--tempo", "33"}).exitCode, 2);
  EXPECT_EQ(Run({"play", log, "--plugin", kRecordingPlugin, "--level", "24=50"}).exitCode, 2);
  EXPECT_EQ(Run({"play", log, "--plugin", kRecordingPlugin, "--block-register", "0x1f801c00"}).exitCode, 2);

  EXPECT_EQ(Run({"play", log, "--plugin", kRecordingPlugin, "--seek-at", "0:4294967296"}).exitCode, 2);

  // On a terminal the loader's own reason, not the advice to pick from a list.
  auto r = Run({"play", log, "--plugin", kPluginMissingDependency});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("cannot open shared object file"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("from list"), std::string::npos) << r.err;

  r = Run({"play", log, "--plugin", kPluginNotSpu});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("You must select PSX SPU Plugin."), std::string::npos) << r.err;

  std::filesystem::create_directory(folder / "folder.spu");
  const auto command = [&](const std::string& name, const std::string& path) {
    std::vector<std::string> args = {name, path, "--plugin", kRecordingPlugin};
    if (name == "decode") args.insert(args.end(), {"-o", folder / "x.wav"});
    return Run(args);
  };
  for (const char* name : {"play", "decode"}) {
    r = command(name, folder / "folder.spu");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("folder.spu : Is a directory"), std::string::npos) << r.err;
  }
  if (::geteuid() != 0) {  // root reads whatever the mode says
    std::filesystem::permissions(log, std::filesystem::perms::none);
    for (const char* name : {"play", "decode"}) {
      r = command(name, log);
      EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
    }
    std::filesystem::permissions(log, std::filesystem::perms::owner_all);
  }

  r = Run({"play", WriteLog(0, "empty.spu"), "--plugin", kRecordingPlugin, "--console"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("can't be played"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("* Warning : "), std::string::npos);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(CommandTest, CtrlCStopsPlayWithTheShutdownCalls) {
  ProgramRun run;
  run.interruptAfterMs = 100;
  run.interruptWhenOutputHas = "* Loading SPU state ..... OK";
  const auto r = Run({"play", WriteLog(kSampleRate * 60), "--plugin", kRecordingPlugin, "--console"}, run);
  EXPECT_EQ(r.exitCode, 130) << r.err;
  const auto calls = Calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "SPUclose");
  EXPECT_EQ(calls.back(), "SPUshutdown");
}

// The seek is raised in the pass that first publishes SAMPLE and taken at the next event
// (value 5 at 5000 samples); without the limiter the same command makes the same calls.
TEST_F(CommandTest, PlaySeekAtJumpsAtThePositionTheSameWayEveryRun) {
  const std::vector<std::string> play = {"play", WriteLog(kSampleRate + 1000, "song.spu", 44), "--plugin",
                                         kRecordingPlugin, "--no-limiter", "--seek-at", "4410:30000"};
  std::vector<std::string> runs[2];
  for (auto& calls : runs) {
    std::filesystem::remove(Recording());
    const auto r = Run(play);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    calls = Calls();
  }
  EXPECT_EQ(runs[0], runs[1]);
  const auto& calls = runs[0];
  const auto at = [&](const std::string& line) { return std::find(calls.begin(), calls.end(), line) - calls.begin(); };
  const auto from = at("SPUwriteRegister 1f801c04 0005");
  const auto to = at("SPUwriteRegister 1f801c04 001e");
  ASSERT_LT(to, static_cast<std::ptrdiff_t>(calls.size()));
  EXPECT_EQ(std::count_if(calls.begin() + from, calls.begin() + to,
                          [](const std::string& l) { return l.starts_with("SPUasync"); }),
            0);
  EXPECT_GT(std::count_if(calls.begin() + at("SPUwriteRegister 1f801c04 0004"), calls.begin() + from,
                          [](const std::string& l) { return l.starts_with("SPUasync"); }),
            0);
}

// A time past 2^31 samples (13.5 hours) is still a time: playback goes on from it to the end.
TEST_F(CommandTest, PlaySeeksBeyondTwoToTheThirtyFirstSample) {
  const auto r = Run({"play", WriteLog(2147490000u, "long.spu", 44), "--plugin", kRecordingPlugin, "--seek-at",
                      "4410:2147480000"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Calls().back(), "SPUshutdown");
}

// The output replaces the target only once it is complete: a decode that dies or fails on a
// full disk leaves the earlier file as it was, and the log is never its own output.
TEST_F(CommandTest, DecodeNeverDamagesAnExistingFile) {
  const std::string log = WriteLog(kSampleRate * 2);
  const auto logBytes = ReadFileBytes(log);
  std::filesystem::create_symlink(log, folder / "link.wav");
  std::filesystem::create_hard_link(log, folder / "hard.wav");
  for (const std::string& out : {log, folder / "link.wav", folder / "hard.wav"}) {
    const auto r = Run({"decode", log, "--plugin", kRecordingPlugin, "-o", out});
    EXPECT_EQ(r.exitCode, 1) << out;
    EXPECT_NE(r.err.find("it is the SPU log being decoded"), std::string::npos) << r.err;
  }
  EXPECT_EQ(ReadFileBytes(log), logBytes);

  const std::string out = folder / "out.wav";
  folder.Write("out.wav", "earlier decode");
  // A file-size limit stands in for a full disk: the write fails (EFBIG), or, with the
  // signal left at its default, the process dies midway.
  for (const std::string ignoreSignal : {"trap '' XFSZ; ", ""}) {
    ProgramRun run;
    run.args = {"/bin/sh", "-c", ignoreSignal + "ulimit -f 64; exec \"$0\" \"$@\"", kKestrelSpuProgram,
                "decode", log, "--plugin", kRecordingPlugin, "-o", out};
    const auto r = RunProgram(run);
    EXPECT_NE(r.exitCode, 0) << ignoreSignal;
    EXPECT_EQ(ReadFileBytes(out).size(), 14u) << ignoreSignal;
    if (!ignoreSignal.empty()) {
      EXPECT_NE(r.err.find("WAVE Decoding has failed"), std::string::npos) << r.err;
      for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        EXPECT_FALSE(entry.path().string().ends_with(".part")) << entry.path();
      }
    }
  }
  const auto r = Run({"decode", log, "--plugin", kRecordingPlugin, "-o", out});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const auto bytes = ReadFileBytes(out);
  ASSERT_GT(bytes.size(), 44u + 2 * kSampleRate * 4);
  EXPECT_EQ(U32At(bytes, 40), bytes.size() - 44);
}

TEST_F(CommandTest, EndToEndWithOurSpuPlugin) {
  const std::string plugin = std::string(KESTREL_RUNTIME_DIR) + "/plugins/libkestrel_spu.so";
  if (!std::filesystem::exists(plugin)) GTEST_SKIP() << "no " << plugin;
  const std::string log = WriteLog(kSampleRate / 2, "song.spu", 20, 0x1F801C00);
  auto r = Run({"decode", log, "--plugin", plugin, "-o", folder / "out.wav"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadFileBytes(folder / "out.wav").size(), 44u + 256u);
  r = Run({"play", log, "--plugin", plugin});
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

}  // namespace
}  // namespace kestrel::test
