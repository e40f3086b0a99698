#include "mixer/switches.h"

namespace kestrel {

int RegisterControl::IndexOf(std::uint32_t address) {
  for (std::size_t i = 0; i < kRegisters.size(); ++i) {
    if (kRegisters[i] == address) return static_cast<int>(i);
  }
  return -1;
}

bool RegisterControl::Allows(std::uint32_t address) const {
  const int index = IndexOf(address);
  return index < 0 || allow[static_cast<std::size_t>(index)].load(std::memory_order_relaxed);
}

bool FilterRegisterWrite(const RegisterControl& registers, const EventControl& events,
                         std::uint32_t address, bool seeking) {
  if (seeking) return true;
  return events.registerWrite.load(std::memory_order_relaxed) && registers.Allows(address);
}

bool AllowDmaWrite(const EventControl& events, bool /*seeking*/) {
  return events.dmaWrite.load(std::memory_order_relaxed);
}

bool AllowXa(const EventControl& events, bool seeking) {
  return !seeking && events.xa.load(std::memory_order_relaxed);
}

bool AllowCdda(const EventControl& events, bool seeking) {
  return !seeking && events.cdda.load(std::memory_order_relaxed);
}

}  // namespace kestrel
