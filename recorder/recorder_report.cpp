#include "recorder/recorder_report.h"

#include <cstdio>

namespace kestrel::recorder {

void Report(std::string_view line) {
  std::fprintf(stderr, "Kestrel SPU Recorder: %.*s\n", static_cast<int>(line.size()), line.data());
  std::fflush(stderr);
}

}  // namespace kestrel::recorder
