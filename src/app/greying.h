#pragma once
// Which commands and controls are greyed and enabled when a playback, a decode, a folder
// scan or a playlist import starts and ends. The rules are data (greying.cpp); conditions
// such as "only when neither playing nor decoding" choose which moment to apply.

#include <array>
#include <vector>

#include "platform/control_states.h"

namespace kestrel {

enum class GreyMoment {
  StartUp,
  ScanStarts,
  ScanEnds,
  ImportStarts,
  ImportEnds,
  ImportEndsIdle,  // in addition, when neither playing nor decoding
  PlaybackStarts,
  StartLockReleased,
  RestartArmed,
  PlaybackStops,
  DecodeStarts,
  DecodeEnds,
};

// Whose controls a rule changes.
enum class GreyTarget { Menu, Toolbar, FileListPage, PlayListEditorPage, OptionPage, DecodePage, PluginPage };
inline constexpr int kGreyTargetCount = 7;

struct GreyRule {
  GreyMoment moment;
  GreyTarget target;
  bool enabled;
  std::vector<int> ids;
};

const std::vector<GreyRule>& GreyingTable();

// The ControlStates of each target, by GreyTarget.
using GreyTargets = std::array<ControlStates*, kGreyTargetCount>;

void ApplyGreying(GreyMoment moment, const GreyTargets& targets);

}  // namespace kestrel
