// The WAV decoder against the recording plugin: chunks, events, bytes and refusals.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <future>
#include <mutex>
#include <variant>

#include "platform/console_log.h"
#include "platform/message_port.h"
#include "decoder/decode_job.h"
#include "decoder/decode_page_state.h"
#include "decoder/decode_progress.h"
#include "decoder/decode_time.h"
#include "decoder/decoder_events.h"
#include "fakes/test_plugins.h"
#include "mixer/register_path.h"
#include "support/answer_scope.h"
#include "support/log_files.h"
#include "support/recording_plugin_client.h"

namespace kestrel::test {
namespace {

std::int16_t S16At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::int16_t>(bytes[at] | (bytes[at + 1] << 8));
}

class DecoderTest : public ::testing::Test {
 protected:
  DecoderTest() : recording(kRecordingPlugin) {
    recording.Reset();
    EventSwitches& s = TheRegisterPath().decodingEvent;
    s.registerWrite = s.dmaWrite = s.xa = s.cdda = true;
    console = ConsoleLog::Attach([this](std::string_view line) { consoleLines.emplace_back(line); });
  }

  DecodeRequest Request(const SpuLogWriter& log) {
    DecodeRequest request;
    request.pluginPath = kRecordingPlugin;
    request.logPath = WriteLog(folder, "song.spu", log);
    request.startupFolder = folder.Path();
    request.outputName = "take";
    return request;
  }
  DecodeOutcome Decode(const DecodeRequest& request) {
    DecodeJob::Shared job;
    job.decoding = true;
    return DecodeThread(job, request);
  }
  std::string Output() const { return folder / "wav/take.wav"; }
  std::string LastMessage() const { return messages.empty() ? "" : messages.back().text; }
  bool Console(const std::string& line) const {
    return std::find(consoleLines.begin(), consoleLines.end(), line) != consoleLines.end();
  }

  TempFolder folder;
  RecordingPluginClient recording;
  std::vector<std::string> consoleLines;
  ConsoleLog::Attachment console;
  AnswerScope answers{MessageAnswer::Ok};
  std::vector<Message>& messages = answers.messages;
};

TEST_F(DecoderTest, OneSecondIsThirteenHundredEightyChunksOfWhatTheyRendered) {
  DecodeRequest request = Request(NewFormatLog(kSampleRate * 3));
  request.specifyTime = true;
  request.decodingTime = "1";
  EXPECT_EQ(Decode(request), DecodeOutcome::Succeeded);
  EXPECT_EQ(LastMessage(), "WAVE Decoding has been successful.");

  const auto bytes = ReadFileBytes(Output());
  ASSERT_EQ(bytes.size(), 176684u);
  const auto text = [&](std::size_t at, std::size_t n) { return std::string(bytes.begin() + at, bytes.begin() + at + n); };
  EXPECT_EQ(text(0, 4) + text(8, 8) + text(36, 4), "RIFFWAVEfmt data");
  std::vector<std::uint32_t> fields;  // sizes, PCM and 2 channels, rate, bytes a second, frame and bits, data
  for (const std::size_t at : {4, 16, 20, 24, 28, 32, 40}) fields.push_back(U32At(bytes, at));
  EXPECT_EQ(fields, (std::vector<std::uint32_t>{176676, 16, 0x00020001, 44100, 176400, 0x00100004, 176640}));
  // Frame f was rendered as (f, -f).
  for (std::size_t frame : {0u, 1u, 31u, 32u, 44159u}) {
    EXPECT_EQ(S16At(bytes, 44 + 4 * frame), static_cast<std::int16_t>(frame));
    EXPECT_EQ(S16At(bytes, 46 + 4 * frame), static_cast<std::int16_t>(-static_cast<int>(frame)));
  }
  const auto calls = recording.CallLines();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "SPUrender 128"), 1380);
  EXPECT_EQ(calls[0], "SPUinit");
  EXPECT_EQ(calls.back(), "SPUshutdown");
}

TEST_F(DecoderTest, NewFormatEventsAtTheTargetPlayInTheirChunk) {
  SpuLogWriter log = NewFormatLog(kSampleRate * 2);
  log.AddRegisterWrite(0, 0x1F801D88, 1);
  log.AddRegisterWrite(44, 0x1F801D88, 2);  // the second chunk reaches 1 ms = 44 samples
  log.AddRegisterWrite(45, 0x1F801D88, 3);
  log.AddXaBlock(46, std::vector<std::uint8_t>(4, 1));
  log.AddU32(47);
  log.AddRawBytes(std::vector<std::uint8_t>{9});  // an unknown code: passed over in silence
  log.AddRegisterRead(48, 0x1F801D88);
  log.AddDmaRead(48, 64);  // the plugin may fill every one of the 64 words
  TheRegisterPath().decodingEvent.xa = false;
  EXPECT_EQ(Decode(Request(log)), DecodeOutcome::Succeeded);
  auto calls = recording.CallLines();
  calls.resize(10);
  EXPECT_EQ(calls, (std::vector<std::string>{"SPUinit", calls[1], "SPUrender 128", "SPUwriteRegister 1f801d88 0001",
                                             "SPUrender 128", "SPUwriteRegister 1f801d88 0002", "SPUrender 128",
                                             "SPUwriteRegister 1f801d88 0003", "SPUreadRegister 1f801d88",
                                             "SPUreadDMAMem 64"}));
  EXPECT_FALSE(std::any_of(consoleLines.begin(), consoleLines.end(),
                           [](const std::string& l) { return l.starts_with("Invalid"); }));
}

// A stop request is checked between events: a chunk's events can be millions.
TEST_F(DecoderTest, EventsStopBeingReadOnceTheDecodeIsAborted) {
  SpuLogWriter log = NewFormatLog(kSampleRate * 2);
  for (std::uint16_t i = 0; i < 3; ++i) log.AddRegisterWrite(0, 0x1F801D88, i);
  LoadedLog loaded = std::get<LoadedLog>(LoadSpuLog(WriteLog(folder, "many.spu", log)));
  LogEventReader reader(loaded.file, loaded.type);
  std::atomic<bool> going{false};
  DecoderEventStream stream(reader, loaded.type, 0, &going);
  DynamicLibrary library = DynamicLibrary::Open(kRecordingPlugin);
  const SpuPluginApi api = BindSpuPluginApi(library);
  ReplayDecoderEvents(stream, api, TheRegisterPath().decodingEvent, 100);
  EXPECT_EQ(recording.Calls().find("SPUwriteRegister"), std::string::npos);
  going = true;
  ReplayDecoderEvents(stream, api, TheRegisterPath().decodingEvent, 100);
  EXPECT_NE(recording.Calls().find("SPUwriteRegister 1f801d88 0002"), std::string::npos);
}

TEST_F(DecoderTest, AnOldFormatRecordAtTheTargetWaitsForTheNextChunk) {
  SpuLogWriter log(LogFileType::Old);
  log.AddRegisterWrite(0, 0x1F801D88, 1);
  log.AddRegisterWrite(44, 0x1F801D88, 2);
  log.AddRegisterWrite(kSampleRate, 0x1F802000, 3);  // no address check offline
  EXPECT_EQ(Decode(Request(log)), DecodeOutcome::Succeeded);
  auto calls = recording.CallLines();
  calls.resize(8);
  EXPECT_EQ(calls, (std::vector<std::string>{"SPUinit", calls[1], "SPUrender 128", "SPUrender 128",
                                             "SPUwriteRegister 1f801d88 0001", "SPUrender 128",
                                             "SPUwriteRegister 1f801d88 0002", "SPUrender 128"}));
  EXPECT_NE(recording.Calls().find("SPUwriteRegister 1f802000 0003"), std::string::npos);
}

TEST_F(DecoderTest, RefusalsSayWhyAndTouchNoOutput) {
  struct Case { std::string name; std::function<void(DecodeRequest&)> change; std::string message; };
  SpuLogWriter broken(LogFileType::Old);
  broken.AddRegisterWrite(0, 0x1F801D88, 1);
  broken.SetOldFormatCount(1000);  // more records than the file holds
  const std::string brokenPath = WriteLog(folder, "broken.spu", broken);
  const std::vector<Case> cases = {
      {"no library", [&](DecodeRequest& r) { r.pluginPath = folder / "none.so"; },
       "Please select the PSX SPU Plugin before starting decode."},
      {"not an SPU plugin", [](DecodeRequest& r) { r.pluginPath = kPluginNotSpu; }, "You must select PSX SPU Plugin."},
      {"no SPUrender", [](DecodeRequest& r) { r.pluginPath = kPluginWithoutRender; },
       "Selected Plugin is not supported."},
      {"compressed", [&](DecodeRequest& r) { r.logPath = folder / "song.gz"; }, "Can't decode compressed file."},
      {"missing log", [&](DecodeRequest& r) { r.logPath = folder / "gone.spu"; },
       "Please select the PSX SPU LogFile before starting decode."},
      {"broken log", [&](DecodeRequest& r) { r.logPath = brokenPath; },
       "Selected SPUFile is broken or is no SPU log; it can't be decoded."},
      {"no name", [](DecodeRequest& r) { r.outputName.clear(); }, "Please input the output FileName."},
      {"slash", [](DecodeRequest& r) { r.outputName = "a/b"; }, "The output FileName must not contain \"/\"."},
      {"zero seconds", [](DecodeRequest& r) { r.specifyTime = true, r.decodingTime = "0"; },
       "Please input the correct value."},
      {"too long", [](DecodeRequest& r) { r.specifyTime = true, r.decodingTime = "3"; },
       "Please input the correct value."},
  };
  for (const Case& c : cases) {
    DecodeRequest request = Request(NewFormatLog(kSampleRate * 2));
    std::filesystem::remove(Output());
    c.change(request);
    messages.clear();
    EXPECT_EQ(Decode(request), DecodeOutcome::Refused) << c.name;
    EXPECT_EQ(LastMessage(), c.message) << c.name;
    EXPECT_FALSE(std::filesystem::exists(Output())) << c.name;
  }
}

TEST_F(DecoderTest, ARefusedTimeLeavesAnEarlierFileAlone) {
  DecodeRequest request = Request(NewFormatLog(kSampleRate * 2));
  std::filesystem::create_directories(folder / "wav");
  folder.Write("wav/take.wav", "earlier decode");
  request.specifyTime = true;
  request.decodingTime = "ten";
  EXPECT_EQ(Decode(request), DecodeOutcome::Refused);
  EXPECT_EQ(messages.back().caption, "Decoding Time");
  EXPECT_EQ(ReadFileBytes(Output()).size(), 14u);
  EXPECT_EQ(consoleLines.back(), "* Checking Decode Time ..... Failed\n");
}

TEST_F(DecoderTest, AnOutputThatCannotBeCreatedOrWrittenIsAFailureNotASuccess) {
  DecodeRequest request = Request(NewFormatLog(kSampleRate * 2));
  std::filesystem::create_directories(folder / "wav/take.wav");  // a folder where the file should go
  EXPECT_EQ(Decode(request), DecodeOutcome::Refused);
  EXPECT_TRUE(LastMessage().starts_with("Can't create the output file ")) << LastMessage();
  EXPECT_TRUE(Console("* Open Output File ..... Failed\n"));

  request.outputPath = "/dev/full";
  messages.clear();
  EXPECT_EQ(Decode(request), DecodeOutcome::Failed);
  EXPECT_TRUE(LastMessage().starts_with("WAVE Decoding has failed")) << LastMessage();
  EXPECT_FALSE(Console("* Decoding has been successful.\n"));
}

TEST_F(DecoderTest, TheDataStopsAtTheLastWholeFrameThatFits) {
  DecodeRequest request = Request(NewFormatLog(kSampleRate * 2));
  request.maxDataBytes = 1002;
  EXPECT_EQ(Decode(request), DecodeOutcome::Succeeded);
  const auto bytes = ReadFileBytes(Output());
  ASSERT_EQ(bytes.size(), 44u + 1000u);
  EXPECT_EQ(U32At(bytes, 40), 1000u);
  EXPECT_EQ(U32At(bytes, 4), 1036u);
  // Said in a message of its own, not only on the console.
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[0].text.find("4 GB"), std::string::npos);
  EXPECT_EQ(messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(LastMessage(), "WAVE Decoding has been successful.");
  EXPECT_EQ(kMaxWavDataBytes % 4, 0u);
  EXPECT_LE(kMaxWavDataBytes + 36, 0xFFFFFFFFull);
}

// Through the page's controls, with the decode thread's progress and end delivered as the
// controller's posts would: the page greys itself while a job runs, shows the progress, and
// after Abort is idle at once while the thread still finishes a valid file.
TEST_F(DecoderTest, ThePageStartsFollowsAndAbortsADecode) {
  std::mutex mutex;
  std::vector<Progress> posted;
  std::atomic<bool> holdAtFirstStep{false};
  std::promise<void> atStep, resume;
  const std::shared_future<void> resumed = resume.get_future().share();
  const auto previousProgress = MessagePort::SetProgressHandler([&](const Progress& p) {
    if (p.position > 0 && p.position < 1000 && holdAtFirstStep.exchange(false)) {
      atStep.set_value();
      resumed.wait();  // the thread is mid-decode while the test clicks
    }
    const std::lock_guard lock(mutex);
    posted.push_back(p);
  });
  std::promise<std::uint32_t> endedJob;
  DecodeSources sources{kRecordingPlugin, WriteLog(folder, "song.spu", NewFormatLog(kSampleRate * 600)),
                        folder.Path(), [&](std::uint32_t job) { endedJob.set_value(job); }};

  DecodePageState page;
  EXPECT_FALSE(page.controls.Enabled(decode_page::kDecodingTime));
  page.SetSpecifyDecodeTime(true);
  EXPECT_TRUE(page.controls.Enabled(decode_page::kDecodingTime));
  page.decodingTime = "1";
  page.outputName = "take";
  page.SetPlaybackRunning(true);
  EXPECT_FALSE(page.StartDecode(sources));
  page.SetPlaybackRunning(false);

  const std::optional<std::uint32_t> first = page.StartDecode(sources);
  ASSERT_TRUE(first);
  EXPECT_EQ(page.decodeButtonText, "Decoding...");
  EXPECT_FALSE(page.controls.Enabled(decode_page::kDecode));
  EXPECT_TRUE(page.controls.Enabled(decode_page::kAbort));
  EXPECT_FALSE(page.controls.Enabled(decode_page::kPriority));
  EXPECT_FALSE(page.controls.Enabled(decode_page::kXaBox));
  EXPECT_FALSE(page.StartDecode(sources));  // one at a time
  EXPECT_EQ(endedJob.get_future().get(), *first);
  page.DecodeEnded(*first);
  EXPECT_FALSE(page.Decoding());
  EXPECT_EQ(page.decodeButtonText, "Decode");
  EXPECT_TRUE(page.controls.Enabled(decode_page::kDecode));
  EXPECT_FALSE(page.controls.Enabled(decode_page::kAbort));
  EXPECT_EQ(LastMessage(), "WAVE Decoding has been successful.");
  EXPECT_EQ(ReadFileBytes(Output()).size(), 176684u);
  {
    const std::lock_guard lock(mutex);
    ASSERT_GE(posted.size(), 3u);
    page.ShowProgress(posted[posted.size() - 2]);
    EXPECT_EQ(page.progressPosition, 1000);
    EXPECT_EQ(page.progressLabel, "100 %");
    page.ShowProgress(posted.back());  // once the message is closed
    EXPECT_EQ(page.progressLabel, "  0 %");
  }

  page.SetSpecifyDecodeTime(false);  // the whole ten minutes, aborted
  page.outputName = "cut";
  holdAtFirstStep = true;
  const std::optional<std::uint32_t> second = page.StartDecode(sources);
  ASSERT_TRUE(second);
  EXPECT_EQ(page.AbortCount(), 0u);
  atStep.get_future().wait();
  page.DecodeEnded(*first);  // late news of the earlier job ends nothing
  EXPECT_TRUE(page.Decoding());
  page.AbortDecode();
  EXPECT_EQ(page.AbortCount(), 1u);
  EXPECT_FALSE(page.Decoding());
  EXPECT_TRUE(page.controls.Enabled(decode_page::kDecode));
  EXPECT_FALSE(page.controls.Enabled(decode_page::kAbort));
  resume.set_value();
  page.WaitForDecodeEnd();
  MessagePort::SetProgressHandler(previousProgress);
  EXPECT_EQ(LastMessage(), "WAVE Decoding has been aborted.");
  EXPECT_TRUE(Console("* Warning : Decoding has been aborted.\n"));
  const auto bytes = ReadFileBytes(folder / "wav/cut.wav");
  ASSERT_GT(bytes.size(), 44u);
  EXPECT_EQ(U32At(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(U32At(bytes, 40), bytes.size() - 44);
  EXPECT_LT(bytes.size(), 44u + kSampleRate * 4 * 60);
}

TEST(DecodeProgressSteps, FiveSecondsStepSixTimesAndThreeHundredOnceEveryThreeSeconds) {
  const auto stepsAt = [](std::int64_t limit) {
    DecodeProgress progress;
    std::vector<std::uint64_t> at;
    for (std::uint64_t frames = 32;; frames += 32) {
      const std::uint64_t ms = frames * 1000 / kSampleRate;
      if (ms > static_cast<std::uint64_t>(limit) * 1000) break;
      if (AdvanceDecodeProgress(progress, ms, limit)) at.push_back(ms / 1000);
    }
    return std::pair{at, progress};
  };
  const auto [five, fiveProgress] = stepsAt(5);
  EXPECT_EQ(five, (std::vector<std::uint64_t>{1, 2, 3, 4, 5, 5}));
  EXPECT_EQ(fiveProgress.label, "  5 %");
  EXPECT_EQ(fiveProgress.barPosition, 60);
  const auto [long_, longProgress] = stepsAt(300);
  ASSERT_EQ(long_.size(), 100u);
  EXPECT_EQ(long_[0], 1u);
  EXPECT_EQ(long_[1], 4u);
  EXPECT_EQ(long_[99], 298u);
  EXPECT_EQ(longProgress.label, " 99 %");
}

TEST(DecodeTime, AcceptsWholeSecondsUpToTheFullLength) {
  EXPECT_EQ(ParseDecodingTime("5", 5), 5);
  EXPECT_EQ(ParseDecodingTime(" 3 ", 5), 3);
  for (const char* bad : {"0", "6", "-3", "abc", "", "2x", "1.5"}) EXPECT_FALSE(ParseDecodingTime(bad, 5)) << bad;
}

}  // namespace
}  // namespace kestrel::test
