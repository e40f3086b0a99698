// Binding the plugin and checking the log path, with the failures either may end in.

#include <sys/stat.h>

#include "platform/console_log.h"
#include "platform/message_port.h"
#include "player/player_session.h"

namespace kestrel {
namespace {

bool FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

struct FailureText {
  const char* consoleLine;
  const char* message;
  const char* caption;
  MessageIcon icon;
};

FailureText TextOf(PlayerFailure failure) {
  switch (failure) {
    case PlayerFailure::NoPlugin:
      return {"* Loading SPU Plugin ..... Failed\n", "Please select the PSX SPU Plugin from list.", "Warning",
              MessageIcon::Exclamation};
    case PlayerFailure::PluginMoved:
      return {"* Loading SPU Plugin ..... Failed\n", "Selected Plugin has been moved or deleted.",
              "Plugin Load Error", MessageIcon::Stop};
    case PlayerFailure::NotSpuPlugin:
      return {"* Loading SPU Plugin ..... Failed\n", "You must select PSX SPU Plugin.", "Warning", MessageIcon::Exclamation};
    case PlayerFailure::NotSupported:
      return {"* Loading SPU Plugin ..... Failed\n", "Selected Plugin is not spported.", "Plugin Error", MessageIcon::Exclamation};
    case PlayerFailure::NoLog:
      return {"* Loading SPU File ..... Failed\n", "Please select the PSX SPU LogFile from list.", "Warning",
              MessageIcon::Exclamation};
    case PlayerFailure::LogUnreadable:
      return {"* Warning : SPU File can't be opened.\n", "Selected SPUFile can't be opened.", "SPUFile Load Error",
              MessageIcon::Stop};
    case PlayerFailure::LogMoved:
      break;
  }
  return {"* Loading SPU File ..... Failed\n", "Selected SPUFile has been moved or deleted.",
          "SPUFile Load Error", MessageIcon::Stop};
}

}  // namespace

std::optional<PlayerFailure> BindPlayerPlugin(PlayerSession& session) {
  if (!session.plugin.Bind(session.setup.pluginPath)) return PlayerFailure::NoPlugin;
  if (!FileExists(session.setup.pluginPath)) return PlayerFailure::PluginMoved;
  if (session.api.PSEgetLibType == nullptr || session.api.PSEgetLibType() != kSpuPluginType) {
    return PlayerFailure::NotSpuPlugin;
  }
  if (session.api.SPUwriteRegister == nullptr || session.api.SPUfreeze == nullptr) {
    return PlayerFailure::NotSupported;
  }
  ConsoleLog::Write("* Loading SPU Plugin ..... OK\n");
  return std::nullopt;
}

std::optional<PlayerFailure> CheckLogPath(const PlayerSetup& setup) {
  if (setup.droppedFile) return std::nullopt;
  if (setup.logPath.empty()) return PlayerFailure::NoLog;
  if (!FileExists(setup.logPath)) return PlayerFailure::LogMoved;
  return std::nullopt;
}

void WriteFailureLines(PlayerFailure failure) {
  ConsoleLog::Write(TextOf(failure).consoleLine);
  if (failure == PlayerFailure::NotSupported) ConsoleLog::Write("* Warning : This plugin doesn't support SPUfreeze.\n");
}

void ShowFailureMessage(PlayerFailure failure, const std::string& reason) {
  const FailureText text = TextOf(failure);
  MessagePort::Show(Message{text.message, text.caption, text.icon, MessageButtons::Ok, reason});
}

}  // namespace kestrel
