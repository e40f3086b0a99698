#pragma once
// The recorder's lines to the person running the emulator: on standard error, as the recorder.

#include <string_view>

namespace kestrel::recorder {

void Report(std::string_view line);

}  // namespace kestrel::recorder
