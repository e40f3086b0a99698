// Renders seconds of audio with a number of voices (24 with the Hall reverb) for counting
// instructions per second of audio:  valgrind --tool=callgrind spu_render_profile [seconds] [voices]
#include <cstdio>
#include <cstdlib>

#include "busy_spu.h"

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 1;
  kestrel::spu::Spu spu;
  const int voices = argc > 2 ? std::atoi(argv[2]) : 24;
  kestrel::spu::bench::MakeBusy(spu, voices, voices == 24);
  std::int16_t buffer[64];
  long checksum = 0;
  for (int done = 0; done < 44100 * seconds; done += 32) {
    spu.render(buffer, 32);
    checksum += buffer[0];
  }
  std::printf("rendered %d s with %d voices, checksum %ld\n", seconds, voices, checksum);
  return 0;
}
