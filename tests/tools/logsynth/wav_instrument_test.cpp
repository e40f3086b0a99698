#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/temp_folder.h"
#include "synth_fixtures.h"
#include "wav_file.h"

namespace kestrel::logsynth {
namespace {

// A PCM WAV: RIFF header, fmt chunk, data chunk.
std::vector<std::uint8_t> MakeWav(int format, int channels, int rate, int bits,
                                  const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out;
  const auto put = [&out](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const auto tag = [&out](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(t[i]));
  };
  tag("RIFF");
  put(static_cast<std::uint32_t>(36 + data.size()), 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(static_cast<std::uint32_t>(format), 2);
  put(static_cast<std::uint32_t>(channels), 2);
  put(static_cast<std::uint32_t>(rate), 4);
  put(static_cast<std::uint32_t>(rate * channels * bits / 8), 4);
  put(static_cast<std::uint32_t>(channels * bits / 8), 2);
  put(static_cast<std::uint32_t>(bits), 2);
  tag("data");
  put(static_cast<std::uint32_t>(data.size()), 4);
  for (const std::uint8_t b : data) out.push_back(b);
  return out;
}

std::vector<std::uint8_t> Sine16(int rate, double hz, int count) {
  std::vector<std::uint8_t> data;
  for (int i = 0; i < count; ++i) {
    const auto s = static_cast<std::int16_t>(std::lround(20000 * std::sin(2 * 3.14159265358979 * hz * i / rate)));
    data.push_back(static_cast<std::uint8_t>(s));
    data.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(s) >> 8));
  }
  return data;
}

TEST(WavFile, ReadsPcmAndMixesChannels) {
  // 8-bit stereo: unsigned samples around 128, left and right averaged.
  const auto sound = ParseWav(MakeWav(1, 2, 11025, 8, {128, 128, 255, 1, 192, 192}));
  ASSERT_TRUE(std::holds_alternative<WavSound>(sound)) << std::get<std::string>(sound);
  const WavSound& wav = std::get<WavSound>(sound);
  EXPECT_EQ(wav.sampleRate, 11025);
  EXPECT_EQ(wav.samples, (std::vector<std::int16_t>{0, 0, 64 * 256}));

  // A data chunk cut short keeps the whole samples it has.
  auto cut = MakeWav(1, 1, 44100, 16, Sine16(44100, 440, 100));
  cut.resize(cut.size() - 51);
  const auto partial = ParseWav(cut);
  ASSERT_TRUE(std::holds_alternative<WavSound>(partial));
  EXPECT_EQ(std::get<WavSound>(partial).samples.size(), 74u);
}

TEST(WavFile, RefusesWhatItCannotRead) {
  std::vector<std::uint8_t> noData = MakeWav(1, 1, 44100, 16, {0, 0});
  noData.resize(36);  // RIFF header and fmt chunk only
  const struct { std::vector<std::uint8_t> bytes; std::string message; } cases[] = {
      {{'h', 'e', 'l', 'l', 'o'}, "not a WAV file"},
      {MakeWav(3, 1, 44100, 32, {0, 0, 0, 0}), "unsupported WAV encoding 3"},
      {MakeWav(1, 1, 44100, 24, {0, 0, 0}), "unsupported sample size of 24 bits"},
      {MakeWav(1, 0, 44100, 16, {0, 0}), "unsupported channel count 0"},
      {MakeWav(1, 1, 10, 16, {0, 0}), "unsupported sample rate 10"},
      {MakeWav(1, 1, 44100, 16, {}), "no samples"},
      {noData, "no data chunk"},
  };
  for (const auto& c : cases) {
    const auto result = ParseWav(c.bytes);
    ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.message;
    EXPECT_NE(std::get<std::string>(result).find(c.message), std::string::npos) << std::get<std::string>(result);
  }
}

TEST(WavInstrument, PlaysAtTheFilesRateRelativeToItsRoot) {
  test::TempFolder folder;
  folder.Write("samples/a440.wav", MakeWav(1, 1, 22050, 16, Sine16(22050, 440, 2205)));
  const std::string score =
      "instrument s wav=samples/a440.wav root=A4 loop=yes loopstart=100\n"
      "track t inst=s voices=0\npattern p\n  t: A4/4 A5/4\nend\nplay p\n";
  test_support::WriteLog(score, folder / "w.spu", folder.Path());
  auto loaded = LoadSpuLog(folder / "w.spu");
  auto& log = std::get<LoadedLog>(loaded);
  std::vector<std::uint16_t> pitches;
  for (const LogEvent& e : test::ReadAllEvents(log)) {
    if (e.kind == LogEventKind::RegisterWrite && e.address == 0x1F801C04) pitches.push_back(e.value);
  }
  // Half the output rate at its root, the output rate an octave up.
  EXPECT_EQ(pitches, (std::vector<std::uint16_t>{0x0800, 0x1000}));
}

TEST(WavInstrument, ABadFileIsAClearErrorOnTheInstrumentsLine) {
  test::TempFolder folder;
  folder.Write("broken.wav", std::string("this is no sound"));
  const std::string tail = "track t inst=s voices=0\npattern p\n  t: C4\nend\nplay p\n";
  const struct { std::string instrument; std::string message; } cases[] = {
      {"instrument s wav=broken.wav\n", "instrument 's': " + folder.Path() + "/broken.wav: not a WAV file"},
      {"instrument s wav=missing.wav\n", "instrument 's': cannot open " + folder.Path() + "/missing.wav"},
  };
  for (const auto& c : cases) {
    auto built = test_support::Synthesise("tempo 100\n" + c.instrument + tail, folder.Path());
    ASSERT_TRUE(std::holds_alternative<ScoreError>(built));
    EXPECT_EQ(std::get<ScoreError>(built).line, 2);
    EXPECT_NE(std::get<ScoreError>(built).message.find(c.message), std::string::npos)
        << std::get<ScoreError>(built).message;
  }
  folder.Write("short.wav", MakeWav(1, 1, 44100, 16, Sine16(44100, 440, 50)));
  auto past = test_support::Synthesise("instrument s wav=short.wav loop=yes loopstart=50\n" + tail, folder.Path());
  ASSERT_TRUE(std::holds_alternative<ScoreError>(past));
  EXPECT_NE(std::get<ScoreError>(past).message.find("loopstart 50 is past the 50 samples"), std::string::npos);
}

}  // namespace
}  // namespace kestrel::logsynth
