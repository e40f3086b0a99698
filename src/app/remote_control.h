#pragma once
// What a media player remote (the desktop's MPRIS clients, media keys) sees of the program,
// in the program's own terms. The controller fills it; the remote's adapter only translates.

#include <cstdint>
#include <string>

namespace kestrel {

enum class RemoteStatus { Stopped, Playing, Paused };

struct RemoteState {
  RemoteStatus status = RemoteStatus::Stopped;
  // What the remote's commands would do now: false where the window greys the command.
  bool canPlay = false;
  bool canPause = false;
  bool canGoNext = false;
  bool canGoPrevious = false;
  bool canSeek = false;

  // The log that plays, or that Play would play; an empty path when there is none.
  std::string path;
  std::string title;  // the log's music title, else its file name
  std::string album;  // the game title
  std::uint32_t lengthSamples = 0;  // 0 when unknown
  std::uint64_t track = 0;  // changes when another log is shown or a playback starts
  std::uint32_t positionSamples = 0;
  double rate = 1.0;        // the tempo, as a factor of real time
  std::uint32_t seeks = 0;  // counts the jumps of the position: the slider's, a remote's, a resume's

  bool operator==(const RemoteState&) const = default;
};

}  // namespace kestrel
