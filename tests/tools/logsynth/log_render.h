#pragma once
// Plays a log through an SPU, as the player does, for checks on the sound it makes.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "plugin/spu_plugin_api.h"

namespace kestrel::spu {
class Spu;
}

namespace kestrel::test {

// The SPU a log is replayed against.
struct ReplayTarget {
  std::function<void(std::uint8_t* freezeBlock)> loadState;
  std::function<void(std::uint32_t address, std::uint16_t value)> writeRegister;
  std::function<void(std::uint16_t* words, int count)> writeDma;
  std::function<void(std::uint8_t* block)> playXa;
  std::function<void(std::uint8_t* pcm, int bytes)> playCdAudio;
  std::function<void(std::int16_t* stereo, int frames)> render;
};

ReplayTarget EmulatorTarget(spu::Spu& spu);
ReplayTarget PluginTarget(const SpuPluginApi& api);

// Interleaved stereo s16 for the log's length, at most `maxSeconds`; empty when the log
// does not load.
std::vector<std::int16_t> RenderLog(const std::string& path, const ReplayTarget& target, double maxSeconds);

// Root mean square of interleaved stereo, full scale 1.
double RmsLevel(const std::vector<std::int16_t>& stereo);

}  // namespace kestrel::test
