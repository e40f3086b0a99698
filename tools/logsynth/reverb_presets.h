#pragma once
// The reverb presets published with the SPU's reverb documentation.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::logsynth {

struct ReverbPreset {
  std::string_view name;
  std::uint32_t workAreaBytes;  // the reverb base is (0x80000 - size) / 8
  // dAPF1 .. vRIN: the registers 0x1F801DC0..0x1F801DFE in address order.
  std::array<std::uint16_t, 32> registers;
};

// By name, matched exactly: room, studio-small, studio-medium, studio-large, hall,
// half-echo, space-echo. nullptr for another name.
const ReverbPreset* FindReverbPreset(std::string_view name);

// "room studio-small ..." for messages and help.
std::string ReverbPresetNames();

}  // namespace kestrel::logsynth
