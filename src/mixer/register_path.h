#pragma once
// The process-wide switches and mixer, alive from start-up to exit.

#include "mixer/channel_mixer.h"
#include "mixer/switches.h"

namespace kestrel {

struct RegisterPath {
  RegisterControl registerControl;
  EventControl eventControl;
  DecodingEvent decodingEvent;
  ChannelMixer channelMixer;
};

RegisterPath& TheRegisterPath();

}  // namespace kestrel
