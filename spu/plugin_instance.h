#pragma once
// The one SPU a loaded plugin runs, with its sound output and the SPUasync cycle remainder.

#include <cstdint>
#include <memory>
#include <vector>

#include "abi/spu_plugin.h"
#include "spu/audio_output.h"
#include "spu/spu.h"

namespace kestrel::spu {

class PluginInstance {
 public:
  Spu& spu() { return spu_; }
  AudioOutput& output() { return output_; }

  // Advances by `cycles` CPU cycles: whole samples are rendered and played, the rest carried over.
  void advance(unsigned long cycles);
  // Renders `frames` frames into `out` (interleaved s16, any alignment), with no device.
  void renderInto(void* out, int frames);
  // The same, with each source's share of the frames in `tracks` (abi/spu_stems.h).
  void renderStemsInto(void* out, std::int16_t* tracks, int frames);

 private:
  Spu spu_;
  AudioOutput output_;
  unsigned long cycleRemainder_ = 0;
  std::vector<std::int16_t> scratch_;
};

// The instance between SPUinit and SPUshutdown; null outside that.
std::unique_ptr<PluginInstance>& CurrentInstance();

}  // namespace kestrel::spu
