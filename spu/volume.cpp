#include "spu/volume.h"

namespace kestrel::spu {

void Volume::write(std::uint16_t value) {
  setting.value = value;
  if (!setting.sweep()) {
    current.reset(setting.fixedLevel());
    return;
  }
  // A sweep starts from the level in force.
  sweepRate = EnvelopeRate::Make(setting.shift(), setting.step(), setting.exponential(), setting.decreasing(),
                                 setting.phaseNegative());
  current.counter = 0;
}

}  // namespace kestrel::spu
