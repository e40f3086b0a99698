#pragma once
// Logs for the benchmarks: music-like event density, written by the format writer.

#include <cstdint>
#include <string>

namespace kestrel::bench {

// A new-format log of `seconds` with a write to voice 0's pitch register (value i) every
// `eventSpacing` samples, key-on and volume writes between them and a DMA upload at the
// start. Written to a temporary file whose path is returned.
std::string WriteBenchLog(double seconds, std::uint32_t eventSpacing = 441);

// `count` logs in `folder` as a game's rip holds them: lengths from 30 s to 330 s, a quarter of
// them gzip, the others with their state image left a hole (the scan only seeks over it).
void WriteScanFolder(const std::string& folder, int count);

// The reference plugin when built, else the timing plugin.
std::string BenchPluginPath(bool& isReference);
std::string TimingPluginPath();

}  // namespace kestrel::bench
