#pragma once
// The "Wave Decode" page: what a decode renders and where to, its progress, and its own
// controls while a decode runs. The greying a decode causes on other pages and menus is the
// controller's, which asks Decoding().

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "decoder/decode_job.h"
#include "mixer/register_path.h"
#include "platform/control_states.h"
#include "platform/message_port.h"
#include "spulog/log_format.h"

namespace kestrel {

namespace decode_page {
inline constexpr int kSpecifyTime = 1028;
inline constexpr int kDecodingTime = 1027;
inline constexpr int kOutputName = 1023;
inline constexpr int kPluginName = 1025;
inline constexpr int kTargetFileName = 1026;
inline constexpr int kProgressBar = 1040;
inline constexpr int kPercent = 1041;
inline constexpr int kDecode = 1021;
inline constexpr int kAbort = 1039;
inline constexpr int kOldFormat = 1086;
inline constexpr int kNewFormat = 1089;
inline constexpr int kPriority = 1082;
inline constexpr int kPriorityLabel = 1084;
inline constexpr int kRegisterWriteBox = 1120;
inline constexpr int kDmaWriteBox = 1121;
inline constexpr int kXaBox = 1123;
inline constexpr int kCddaBox = 1125;
inline constexpr const char* kInitialOutputName = "I Love Sunmoth !!";
}  // namespace decode_page

// What the other pages name for a decode, and how its end comes back.
struct DecodeSources {
  std::string pluginPath;     // the plugin page's "Path :"
  std::string logPath;        // the file list page's "Path :"
  std::string startupFolder;  // the output goes to "<startupFolder>/wav/<name>.wav"
  // Called on the decode thread when a job ends by itself (not after Abort); the controller
  // posts DecodeEnded(job) to its own thread.
  std::function<void(std::uint32_t job)> ended;
};

class DecodePageState {
 public:
  // The DecodingEvent boxes drive `switches`; every box starts checked.
  explicit DecodePageState(DecodingEvent& switches = TheRegisterPath().decodingEvent);
  // "Specify Decoding Time": the time field is enabled only while it is checked.
  void SetSpecifyDecodeTime(bool checked);
  bool SpecifyDecodeTime() const { return controls.Checked(decode_page::kSpecifyTime); }
  // The priority slider moved (1..7); its label names the position.
  void MovePrioritySlider(int position);
  // From the settings: the position and the label as they were loaded.
  void LoadPriority(int position, std::string label);
  // A DecodingEvent box set or clicked; false for an id that is no such box.
  bool SetDecodingEventBox(int id, bool checked);
  bool ToggleDecodingEventBox(int id);
  // "Output FileName :" or "Decoding Time :" as typed; false for another id. The decode
  // reads them when it starts.
  bool EditField(int id, std::string text);
  // The file selection: "Target FileName :" and the format indicator (none when unreadable).
  void ShowTargetFile(std::string name, std::optional<LogFileType> format);

  // "Decode" is off while a log plays.
  void SetPlaybackRunning(bool playing);

  // "Decode": starts a job (abort count 0) unless one runs or a log plays. Returns the job's
  // number, which DecodeEnded is given back.
  std::optional<std::uint32_t> StartDecode(const DecodeSources& sources);
  // "Abort": raises the abort count and returns the page to idle at once; the thread ends
  // after its current chunk and still writes a valid WAV file.
  void AbortDecode();
  // The decode thread of job `job` has ended by itself: back to idle. A job already
  // aborted, or superseded, is passed over.
  void DecodeEnded(std::uint32_t job);
  // The decode thread's progress (bar position and label), posted to this thread.
  void ShowProgress(const Progress& progress);
  // Exit: waits until a decode thread, aborted or not, has finished its file.
  void WaitForDecodeEnd();

  bool Decoding() const { return decoding_; }
  std::uint32_t AbortCount() const { return job_.AbortCount(); }

  std::string decodingTime;  // "Decoding Time :", as typed
  std::string outputName = decode_page::kInitialOutputName;
  std::string pluginName;      // "Use PluginName :", the plugin page's info text
  std::string targetFileName;  // "Target FileName :"
  int progressPosition = 0;    // 0..1000
  std::string progressLabel = "0 %";
  std::string decodeButtonText = "Decode";
  int priorityPosition = 4;
  std::string priorityLabel = "Normal";
  ControlStates controls;

 private:
  void Greying();

  DecodingEvent& switches_;
  DecodeJob job_;
  std::uint32_t jobNumber_ = 0;
  bool decoding_ = false;
  bool playing_ = false;
};

}  // namespace kestrel
