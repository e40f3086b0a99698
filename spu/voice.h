#pragma once
// One of the 24 voices: ADPCM playback from sound RAM with the pitch counter, Gaussian
// interpolation, the ADSR envelope and the left/right volumes.

#include <array>
#include <cstdint>

#include "spu/adpcm.h"
#include "spu/adsr.h"
#include "spu/registers.h"
#include "spu/volume.h"

namespace kestrel::spu {

// What a voice needs from the rest of the SPU for one tick.
struct VoiceTickInput {
  const std::uint8_t* ram = nullptr;
  std::int16_t noise = 0;
  bool noiseMode = false;
  bool pitchModulated = false;
  int previousVoiceOutput = 0;  // the voice below, this tick, after its envelope
};

struct VoiceTickOutput {
  int left = 0;
  int right = 0;
  bool reachedLoopEnd = false;
};

struct Voice {
  // Registers as written (addresses in 8-byte units).
  Volume left, right;
  std::uint16_t pitch = 0;
  std::uint16_t startAddress = 0;
  std::uint16_t repeatAddress = 0;
  AdsrBits adsrBits;

  // Playback state.
  Adsr adsr;
  std::uint32_t currentAddress = 0;  // bytes, block-aligned
  std::uint32_t counter = 0;         // pitch counter: bits 12+ sample in block, bits 4..11 interpolation index
  AdpcmHistory history;
  std::array<std::int16_t, 3 + kAdpcmSamplesPerBlock> samples{};  // three samples of the previous block, then this one
  std::uint8_t blockFlags = 0;
  bool keyedOn = false;            // silent and idle until the first key on (also after loading a state)
  bool repeatAddressSet = false;   // a written repeat address wins over loop-start flags until the next key on
  int output = 0;                  // this tick's sample after the envelope, before the volumes

  void keyOn(const std::uint8_t* ram);
  void keyOff() { adsr.keyOff(adsrBits); }
  void writeRepeatAddress(std::uint16_t value) {
    repeatAddress = value;
    repeatAddressSet = true;
  }
  void writeAdsr(std::uint32_t bits) {
    adsrBits.value = bits;
    adsr.settingsChanged(adsrBits);
  }

  // One 44.1 kHz tick of a keyed-on voice.
  VoiceTickOutput tick(const VoiceTickInput& in);
  void tickVolumes() {
    left.tick();
    right.tick();
  }

 private:
  void loadBlock(const std::uint8_t* ram);
  void nextBlock(const std::uint8_t* ram, VoiceTickOutput& out);
  int interpolate() const;
  std::uint32_t pitchStep(const VoiceTickInput& in) const;
};

}  // namespace kestrel::spu
