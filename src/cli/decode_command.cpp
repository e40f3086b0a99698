// kestrel-spu decode: render a plain SPU log into a WAV file through an SPU plugin.

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "platform/message_port.h"
#include "cli/commands.h"
#include "cli/common_options.h"
#include "cli/decode_run.h"
#include "cli/terminal.h"
#include "decoder/decode_job.h"
#include "mixer/register_path.h"

namespace kestrel::cli {
namespace {

struct DecodeOptions {
  std::string log;
  std::string plugin;
  std::string output;
  std::string name;
  std::optional<std::string> seconds;
  std::string stems;
  bool allStems = false;
  EventSwitchOptions events;
  bool console = false;
};

int ExitStatus(DecodeOutcome outcome) {
  switch (outcome) {
    case DecodeOutcome::Succeeded: return 0;
    case DecodeOutcome::Aborted: return 130;
    default: return 1;
  }
}

// Results on standard output, refusals and failures on standard error.
MessageAnswer PrintMessage(const Message& message) {
  std::FILE* out = message.icon == MessageIcon::Information ? stdout : stderr;
  std::fprintf(out, "%s\n", TerminalText(message).c_str());
  std::fflush(out);
  return MessageAnswer::Ok;
}

// The stems' NAME when none is given: the log's file name without its extension.
std::string LogBaseName(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  const std::size_t dot = name.find_last_of('.');
  return dot == 0 || dot == std::string::npos ? name : name.substr(0, dot);
}

int RunDecode(const DecodeOptions& o) {
  if (!o.stems.empty() ? !o.output.empty() : o.output.empty() == o.name.empty()) {
    std::fprintf(stderr, "kestrel-spu decode: give either -o OUT.wav, --name NAME or --stems DIR [--name NAME]\n");
    return 2;
  }
  if (o.allStems && o.stems.empty()) {
    std::fprintf(stderr, "kestrel-spu decode: --all-stems needs --stems DIR\n");
    return 2;
  }
  DecodeRequest request;
  request.pluginPath = o.plugin;
  request.logPath = o.log;
  if (!o.output.empty()) request.outputPath = o.output;
  request.outputName = o.name;
  if (!o.stems.empty()) {
    request.stemsFolder = o.stems;
    request.allStems = o.allStems;
    if (o.name.empty()) request.outputName = LogBaseName(o.log);
  }
  request.specifyTime = o.seconds.has_value();
  request.decodingTime = o.seconds.value_or("");
  ApplyEventSwitchOptions(o.events, TheRegisterPath().decodingEvent);

  ConsoleLog::Attachment console;
  if (o.console) console = AttachConsoleToStandardOutput();
  auto bar = std::make_shared<StatusLine>(STDERR_FILENO);
  const auto previousMessages = MessagePort::SetHandler([bar](const Message& message) {
    bar->Clear();
    return PrintMessage(message);
  });
  const auto previousProgress = MessagePort::SetProgressHandler([bar](const Progress& progress) {
    const int filled = progress.position * 40 / progress.maximum;
    bar->Show("[" + std::string(static_cast<std::size_t>(filled), '#') +
              std::string(static_cast<std::size_t>(40 - filled), '.') + "] " + progress.label);
  });

  InterruptFlag interrupt;
  const DecodeOutcome outcome = DecodeUntilDone(std::move(request), interrupt);
  MessagePort::SetProgressHandler(previousProgress);
  MessagePort::SetHandler(previousMessages);
  bar->Clear();
  return ExitStatus(outcome);
}

}  // namespace

void AddDecodeCommand(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("decode", "Render a plain SPU log into a 44100 Hz 16-bit stereo WAV file");
  auto o = std::make_shared<DecodeOptions>();
  command->add_option("LOG", o->log, "SPU log (.spu; compressed logs are not decoded)")->required();
  command->add_option("--plugin", o->plugin, "SPU plugin library (.so) with SPUrender")->required();
  command->add_option("-o", o->output, "Write exactly this WAV file");
  command->add_option("--name", o->name, "Write wav/NAME.wav under the current folder");
  command->add_option("--seconds", o->seconds, "Decode only this many whole seconds");
  command->add_option("--stems", o->stems,
                      "Write DIR/NAME.mix.wav and a track per voice, the reverb return and the CD input beside it");
  command->add_flag("--all-stems", o->allStems, "With --stems: keep the tracks of voices that never sound");
  AddEventSwitchOptions(*command, o->events);
  command->add_flag("--console", o->console, "Print the console lines on standard output");
  command->callback([o, &status] { status = RunDecode(*o); });
}

}  // namespace kestrel::cli
