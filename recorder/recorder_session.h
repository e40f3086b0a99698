#pragma once
// Everything one SPUinit sets up: the settings, the real plugin, the writer thread and the
// recorder; SPUshutdown ends them in the reverse order.

#include <string>
#include <variant>

#include "recorder/real_plugin.h"
#include "recorder/recorder.h"
#include "recorder/recorder_settings.h"
#include "recorder/recording_writer.h"

namespace kestrel::recorder {

struct RecorderSetup {
  RecorderSettings settings;
  RealPlugin real;
};

// kestrel_recorder.ini in the folder the recorder library was loaded from.
std::string SettingsPathBesideLibrary();
// The settings and the real plugin they name, or why the recorder cannot work.
std::variant<RecorderSetup, std::string> LoadRecorderSetup();

struct RecorderSession {
  explicit RecorderSession(RecorderSetup s);

  RecorderSetup setup;
  RecordingWriter writer;
  Recorder recorder;
};

}  // namespace kestrel::recorder
