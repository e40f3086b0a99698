#include "score_parser.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "envelope_rates.h"
#include "note_pitch.h"
#include "pattern_tokens.h"
#include "reverb_presets.h"
#include "score_words.h"

namespace kestrel::logsynth {

const Instrument* Score::FindInstrument(const std::string& name) const {
  const auto it = std::find_if(instruments.begin(), instruments.end(),
                               [&](const Instrument& i) { return i.name == name; });
  return it == instruments.end() ? nullptr : &*it;
}

const Track* Score::FindTrack(const std::string& name) const {
  const auto it = std::find_if(tracks.begin(), tracks.end(),
                               [&](const Track& t) { return t.name == name; });
  return it == tracks.end() ? nullptr : &*it;
}

namespace {

constexpr int kVoiceCount = 24;
// Keeps step arithmetic far from overflow; the synthesizer refuses long songs by time.
constexpr int kMaxSongSteps = 1 << 22;

struct Fault {
  std::string message;
};

std::optional<Waveform> WaveformNamed(std::string_view name) {
  static const std::pair<std::string_view, Waveform> kNames[] = {
      {"sine", Waveform::Sine},   {"square", Waveform::Square}, {"saw", Waveform::Saw},
      {"triangle", Waveform::Triangle}, {"noise", Waveform::Noise}, {"kick", Waveform::Kick},
      {"snare", Waveform::Snare}, {"hat", Waveform::Hat}};
  for (const auto& [n, w] : kNames) {
    if (n == name) return w;
  }
  return std::nullopt;
}

class Parser {
 public:
  std::variant<Score, ScoreError> Run(std::string_view text);

 private:
  void Statement(const std::vector<std::string>& words);
  void InstrumentStatement(const std::vector<std::string>& words);
  void TrackStatement(const std::vector<std::string>& words);
  void PatternLineStatement(const std::vector<std::string>& words);
  void StreamStatement(const std::vector<std::string>& words, StreamKind kind);
  void Validate();
  void ValidateTrack(const Track& track, std::set<int>& usedVoices);

  // Options of the current statement; every key must be consumed by Take.
  std::optional<std::string> Take(const char* key);
  int TakeInteger(const char* key, int low, int high, int fallback);
  double TakeNumber(const char* key, double low, double high, double fallback);
  bool TakeYesNo(const char* key, bool fallback);
  void Options(const std::vector<std::string>& words, std::size_t skip);
  // "KIND NAME key=value...": the new name, with the options read.
  std::string Definition(const std::vector<std::string>& words, const char* kind, bool taken);
  void FinishOptions();

  [[noreturn]] void Fail(std::string message) { throw Fault{std::move(message)}; }
  int NumberAt(std::string_view text, int low, int high, const char* what);

  Score score_;
  int line_ = 0;
  Pattern* openPattern_ = nullptr;
  std::map<std::string, std::string> options_;
};

std::variant<Score, ScoreError> Parser::Run(std::string_view text) {
  try {
    std::size_t start = 0;
    while (start <= text.size()) {
      ++line_;
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      const auto words = SplitWords(text.substr(start, end - start));
      if (!words) Fail("unclosed quote");
      if (!words->empty()) Statement(*words);
      start = end + 1;
    }
    if (openPattern_ != nullptr) {
      line_ = openPattern_->line;
      Fail("pattern '" + openPattern_->name + "' has no 'end'");
    }
    line_ = 0;
    Validate();
  } catch (const Fault& fault) {
    return ScoreError{line_, fault.message};
  }
  return std::move(score_);
}

void Parser::Statement(const std::vector<std::string>& words) {
  const std::string& keyword = words[0];
  if (openPattern_ != nullptr) {
    if (keyword == "end" && words.size() == 1) {
      openPattern_ = nullptr;
      return;
    }
    PatternLineStatement(words);
    return;
  }
  const auto needArguments = [&](std::size_t count) {
    if (words.size() != count + 1) {
      Fail("'" + keyword + "' takes " + std::to_string(count) + " value" +
           (count == 1 ? "" : "s"));
    }
  };
  if (keyword == "game") {
    score_.gameTitle = RestOfLine(words);
  } else if (keyword == "title") {
    score_.musicTitle = RestOfLine(words);
  } else if (keyword == "copyright") {
    score_.copyright = RestOfLine(words);
  } else if (keyword == "format") {
    needArguments(1);
    if (words[1] != "new" && words[1] != "old") Fail("format is 'new' or 'old'");
    score_.format = words[1] == "old" ? LogFileType::Old : LogFileType::New;
    score_.formatLine = line_;
  } else if (keyword == "gzip") {
    needArguments(1);
    const auto value = ParseYesNo(words[1]);
    if (!value) Fail("gzip is 'yes' or 'no'");
    score_.gzip = *value;
  } else if (keyword == "tempo") {
    needArguments(1);
    const auto value = ParseNumber(words[1]);
    if (!value || *value < 20 || *value > 400) Fail("tempo is 20 to 400 beats per minute");
    score_.tempo = *value;
  } else if (keyword == "steps") {
    needArguments(1);
    score_.stepsPerBeat = NumberAt(words[1], 1, 48, "steps per beat");
  } else if (keyword == "volume") {
    needArguments(1);
    score_.mainVolume = NumberAt(words[1], 0, 100, "volume");
  } else if (keyword == "tail") {
    needArguments(1);
    const auto value = ParseNumber(words[1]);
    if (!value || *value < 0 || *value > 60) Fail("tail is 0 to 60 seconds");
    score_.tailSeconds = *value;
  } else if (keyword == "reverb") {
    if (words.size() < 2 || words.size() > 3) Fail("'reverb' takes a preset and a volume");
    if (words[1] == "off") {
      score_.reverb = {};
      return;
    }
    if (FindReverbPreset(words[1]) == nullptr) {
      Fail("unknown reverb preset '" + words[1] + "' (" + ReverbPresetNames() + ")");
    }
    score_.reverb.preset = words[1];
    if (words.size() == 3) score_.reverb.volume = NumberAt(words[2], 0, 100, "reverb volume");
  } else if (keyword == "instrument") {
    InstrumentStatement(words);
  } else if (keyword == "track") {
    TrackStatement(words);
  } else if (keyword == "pattern") {
    if (words.size() < 2) Fail("'pattern' needs a name");
    Pattern pattern{words[1], line_, 0, {}};
    Options(words, 2);
    pattern.length = TakeInteger("length", 1, 1 << 16, 0);
    FinishOptions();
    if (!score_.patterns.emplace(pattern.name, pattern).second) {
      Fail("pattern '" + pattern.name + "' defined twice");
    }
    openPattern_ = &score_.patterns[pattern.name];
  } else if (keyword == "play") {
    // "play a+b 2": the patterns sound together, and the song moves on by the longest.
    if (words.size() < 2 || words.size() > 3) Fail("'play' takes patterns and a count");
    std::vector<const Pattern*> together;
    std::string_view names = words[1];
    while (!names.empty()) {
      const std::string name(names.substr(0, names.find('+')));
      names.remove_prefix(std::min(names.size(), name.size() + 1));
      const auto it = score_.patterns.find(name);
      if (it == score_.patterns.end()) Fail("unknown pattern '" + name + "'");
      together.push_back(&it->second);
    }
    if (together.empty()) Fail("'play' needs a pattern");
    int length = 0;
    for (const Pattern* p : together) length = std::max(length, p->length);
    const int times = words.size() == 3 ? NumberAt(words[2], 1, 1000, "repeat count") : 1;
    for (int i = 0; i < times; ++i) {
      for (const Pattern* p : together) score_.song.push_back({line_, p->name, score_.songSteps});
      score_.songSteps += length;
      if (score_.songSteps > kMaxSongSteps) Fail("the song is too long");
    }
  } else if (keyword == "rest") {
    needArguments(1);
    score_.songSteps += NumberAt(words[1], 1, 1 << 16, "rest");
    if (score_.songSteps > kMaxSongSteps) Fail("the song is too long");
  } else if (keyword == "xa") {
    StreamStatement(words, StreamKind::Xa);
  } else if (keyword == "cd") {
    StreamStatement(words, StreamKind::CdAudio);
  } else if (keyword == "end") {
    Fail("'end' without 'pattern'");
  } else {
    Fail("unknown statement '" + keyword + "'");
  }
}

void Parser::InstrumentStatement(const std::vector<std::string>& words) {
  Instrument instrument;
  instrument.name = Definition(words, "instrument", score_.FindInstrument(words.size() > 1 ? words[1] : "") != nullptr);
  instrument.line = line_;
  const auto wave = Take("wave");
  const auto wav = Take("wav");
  if (wave && wav) Fail("give 'wave' or 'wav', not both");
  if (wav) {
    instrument.waveform = Waveform::WavFile;
    instrument.wavPath = *wav;
  } else {
    const auto waveform = WaveformNamed(wave.value_or("sine"));
    if (!waveform) Fail("unknown wave '" + *wave + "' (sine square saw triangle noise kick snare hat)");
    instrument.waveform = *waveform;
  }
  if (const auto root = Take("root")) {
    const auto note = ParseNoteName(*root);
    if (!note) Fail("bad root note '" + *root + "'");
    instrument.rootNote = *note;
  }
  if (const auto loop = Take("loop")) {
    instrument.loop = ParseYesNo(*loop);
    if (!instrument.loop) Fail("loop is 'yes' or 'no'");
  }
  instrument.loopStart = TakeInteger("loopstart", 0, 1 << 24, 0);
  instrument.seconds = TakeNumber("length", 0.01, 10.0, 0.0);
  if (const auto upload = Take("upload")) {
    if (*upload != "ram" && *upload != "dma") Fail("upload is 'ram' or 'dma'");
    instrument.placement = *upload == "dma" ? SamplePlacement::Dma : SamplePlacement::InitialRam;
  }
  if (const auto raw = Take("adsr")) {
    const std::size_t comma = raw->find(',');
    const auto adsr1 = ParseInteger(raw->substr(0, comma));
    const auto adsr2 = comma == std::string::npos ? std::nullopt : ParseInteger(raw->substr(comma + 1));
    if (!adsr1 || !adsr2 || *adsr1 < 0 || *adsr1 > 0xFFFF || *adsr2 < 0 || *adsr2 > 0xFFFF) {
      Fail("adsr is two register values, as in adsr=0x80FF,0x1FC0");
    }
    instrument.envelope = {static_cast<std::uint16_t>(*adsr1), static_cast<std::uint16_t>(*adsr2)};
  } else {
    EnvelopeTimes times;
    times.attackMs = TakeNumber("attack", 0, 60000, times.attackMs);
    times.decayMs = TakeNumber("decay", 0, 60000, times.decayMs);
    times.sustainPercent = TakeInteger("sustain", 0, 100, times.sustainPercent);
    times.releaseMs = TakeNumber("release", 0, 60000, times.releaseMs);
    if (options_.count("fade") != 0) times.fadeMs = TakeNumber("fade", 1, 600000, 1000);
    instrument.envelope = EnvelopeFromTimes(times);
  }
  FinishOptions();
  score_.instruments.push_back(std::move(instrument));
}

void Parser::TrackStatement(const std::vector<std::string>& words) {
  Track track;
  track.name = Definition(words, "track", score_.FindTrack(words.size() > 1 ? words[1] : "") != nullptr);
  track.line = line_;
  const auto instrument = Take("inst");
  if (!instrument) Fail("track '" + track.name + "' needs inst=INSTRUMENT");
  track.instrument = *instrument;
  const auto voices = Take("voices");
  if (!voices) Fail("track '" + track.name + "' needs voices=N or voices=N-M");
  std::string_view list = *voices;
  while (!list.empty()) {
    const std::string_view item = list.substr(0, list.find(','));
    list.remove_prefix(std::min(list.size(), item.size() + 1));
    const std::size_t dash = item.find('-');
    const int first = NumberAt(item.substr(0, dash), 0, kVoiceCount - 1, "voice");
    const int last = dash == std::string_view::npos
                         ? first : NumberAt(item.substr(dash + 1), first, kVoiceCount - 1, "voice");
    for (int v = first; v <= last; ++v) track.voices.push_back(v);
  }
  if (track.voices.empty()) Fail("track '" + track.name + "' has no voices");
  track.volume = TakeInteger("vol", 0, 100, track.volume);
  track.pan = TakeInteger("pan", -100, 100, track.pan);
  track.reverb = TakeYesNo("reverb", track.reverb);
  track.gate = TakeInteger("gate", 1, 100, track.gate);
  track.transpose = TakeInteger("transpose", -48, 48, track.transpose);
  FinishOptions();
  score_.tracks.push_back(std::move(track));
}

void Parser::PatternLineStatement(const std::vector<std::string>& words) {
  // "TRACK: notes" or "TRACK*N: notes" (the notes N times).
  const std::string& head = words[0];
  if (head.size() < 2 || head.back() != ':') {
    Fail("expected 'TRACK: notes' or 'end' inside pattern '" + openPattern_->name + "'");
  }
  const std::size_t star = head.find('*');
  const std::string track = head.substr(0, std::min(star, head.size() - 1));
  const int times = star == std::string::npos
                        ? 1 : NumberAt(std::string_view(head).substr(star + 1, head.size() - star - 2), 1, 256,
                                       "line repeat count");
  if (score_.FindTrack(track) == nullptr) Fail("unknown track '" + track + "'");
  auto line = std::find_if(openPattern_->lines.begin(), openPattern_->lines.end(),
                           [&](const PatternLine& l) { return l.track == track; });
  if (line == openPattern_->lines.end()) {
    openPattern_->lines.push_back({track, {}, 0});
    line = openPattern_->lines.end() - 1;
  }
  // A second line for the same track continues where the first one stopped.
  int end = line->end;
  const std::vector<std::string> tokens(words.begin() + 1, words.end());
  for (int i = 0; i < times; ++i) {
    std::string fault;
    end = ParsePatternTokens(tokens, line_, end, line->events, fault);
    if (!fault.empty()) Fail(fault);
  }
  line->end = end;
  openPattern_->length = std::max(openPattern_->length, end);
}

void Parser::StreamStatement(const std::vector<std::string>& words, StreamKind kind) {
  Stream stream;
  stream.line = line_;
  stream.kind = kind;
  Options(words, 1);
  stream.step = TakeInteger("at", 0, 1 << 20, score_.songSteps);
  stream.length = TakeInteger("length", 1, 1 << 16, stream.length);
  if (const auto wave = Take("wave")) {
    const auto waveform = WaveformNamed(*wave);
    if (!waveform) Fail("unknown wave '" + *wave + "'");
    stream.waveform = *waveform;
  }
  if (const auto notes = Take("notes")) {
    std::vector<NoteEvent> events;
    std::string fault;
    ParsePatternTokens({*notes}, line_, 0, events, fault);
    if (!fault.empty() || events.empty() || events[0].notes[0] < 0) Fail("bad notes '" + *notes + "'");
    stream.notes = events[0].notes;
  }
  stream.volume = TakeInteger("vol", 0, 100, stream.volume);
  if (kind == StreamKind::Xa) {
    stream.rate = TakeInteger("rate", 18900, 37800, stream.rate);
    if (stream.rate != 18900 && stream.rate != 37800) Fail("XA rate is 18900 or 37800");
    stream.stereo = TakeYesNo("stereo", stream.stereo);
  }
  FinishOptions();
  score_.streams.push_back(std::move(stream));
}

void Parser::Validate() {
  std::set<int> usedVoices;
  for (const Track& track : score_.tracks) ValidateTrack(track, usedVoices);
  line_ = 0;
  if (score_.song.empty()) Fail("the score plays nothing: add 'play PATTERN'");
}

void Parser::ValidateTrack(const Track& track, std::set<int>& usedVoices) {
  line_ = track.line;
  if (score_.FindInstrument(track.instrument) == nullptr) {
    Fail("unknown instrument '" + track.instrument + "'");
  }
  for (const int voice : track.voices) {
    if (!usedVoices.insert(voice).second) Fail("voice " + std::to_string(voice) + " used by two tracks");
  }
}

void Parser::Options(const std::vector<std::string>& words, std::size_t skip) {
  auto parsed = ParseOptions(words, skip);
  if (!parsed.fault.empty()) Fail(parsed.fault);
  options_ = std::move(parsed.values);
}

std::string Parser::Definition(const std::vector<std::string>& words, const char* kind, bool taken) {
  if (words.size() < 2) Fail("'" + std::string(kind) + "' needs a name");
  if (taken) Fail(std::string(kind) + " '" + words[1] + "' defined twice");
  Options(words, 2);
  return words[1];
}

void Parser::FinishOptions() {
  if (!options_.empty()) Fail("unknown option '" + options_.begin()->first + "'");
}

std::optional<std::string> Parser::Take(const char* key) {
  const auto it = options_.find(key);
  if (it == options_.end()) return std::nullopt;
  std::string value = std::move(it->second);
  options_.erase(it);
  return value;
}

int Parser::TakeInteger(const char* key, int low, int high, int fallback) {
  const auto text = Take(key);
  return text ? NumberAt(*text, low, high, key) : fallback;
}

double Parser::TakeNumber(const char* key, double low, double high, double fallback) {
  const auto text = Take(key);
  if (!text) return fallback;
  const auto value = ParseNumber(*text);
  if (!value || *value < low || *value > high) {
    std::ostringstream range;
    range << key << " must be a number from " << low << " to " << high;
    Fail(range.str());
  }
  return *value;
}

bool Parser::TakeYesNo(const char* key, bool fallback) {
  const auto text = Take(key);
  if (!text) return fallback;
  const auto value = ParseYesNo(*text);
  if (!value) Fail(std::string(key) + " is 'yes' or 'no'");
  return *value;
}

int Parser::NumberAt(std::string_view text, int low, int high, const char* what) {
  const auto value = ParseInteger(text);
  if (!value || *value < low || *value > high) {
    Fail(std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
         std::to_string(high) + ", not '" + std::string(text) + "'");
  }
  return *value;
}

}  // namespace

std::variant<Score, ScoreError> ParseScore(std::string_view text) { return Parser().Run(text); }

}  // namespace kestrel::logsynth
