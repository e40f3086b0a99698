#include "log_render.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "spu/freeze.h"
#include "spu/spu.h"
#include "spulog/log_events.h"
#include "spulog/log_loader.h"

namespace kestrel::test {

ReplayTarget EmulatorTarget(spu::Spu& spu) {
  return {[&spu](std::uint8_t* block) { spu::LoadFreeze(spu, block); },
          [&spu](std::uint32_t address, std::uint16_t value) { spu.writeRegister(address, value); },
          [&spu](std::uint16_t* words, int count) { spu.writeDma(words, count); },
          [&spu](std::uint8_t* block) { spu.playXa(block); },
          [&spu](std::uint8_t* pcm, int bytes) { spu.playCdda(pcm, static_cast<std::size_t>(bytes)); },
          [&spu](std::int16_t* stereo, int frames) { spu.render(stereo, frames); }};
}

ReplayTarget PluginTarget(const SpuPluginApi& api) {
  return {[api](std::uint8_t* block) { api.SPUfreeze(0, block); },
          [api](std::uint32_t address, std::uint16_t value) { api.SPUwriteRegister(address, value); },
          [api](std::uint16_t* words, int count) { api.SPUwriteDMAMem(words, count); },
          [api](std::uint8_t* block) { api.SPUplayADPCMchannel(block); },
          [api](std::uint8_t* pcm, int bytes) { api.SPUplayCDDAchannel(reinterpret_cast<short*>(pcm), bytes); },
          [api](std::int16_t* stereo, int frames) { api.SPUrender(stereo, frames * 4); }};
}

std::vector<std::int16_t> RenderLog(const std::string& path, const ReplayTarget& target, double maxSeconds) {
  auto loaded = LoadSpuLog(path);
  auto* log = std::get_if<LoadedLog>(&loaded);
  if (log == nullptr) return {};
  target.loadState(reinterpret_cast<std::uint8_t*>(log->block.get()));

  const auto end = std::min(log->totalLength, static_cast<std::uint32_t>(maxSeconds * 44100));
  std::vector<std::int16_t> out(static_cast<std::size_t>(end) * 2);
  std::uint32_t rendered = 0;
  const auto renderTo = [&](std::uint32_t time) {
    time = std::min(time, end);
    if (time <= rendered) return;
    target.render(out.data() + 2 * static_cast<std::size_t>(rendered), static_cast<int>(time - rendered));
    rendered = time;
  };
  LogEventReader reader(log->file, log->type);
  LogEvent event;
  while (rendered < end && reader.Next(event)) {
    renderTo(event.time);
    switch (event.kind) {
      case LogEventKind::RegisterWrite: target.writeRegister(event.address, event.value); break;
      case LogEventKind::DmaWrite: {
        std::vector<std::uint16_t> words(event.data.size() / 2);
        for (std::size_t i = 0; i < words.size(); ++i) {
          words[i] = static_cast<std::uint16_t>(event.data[2 * i] | (event.data[2 * i + 1] << 8));
        }
        target.writeDma(words.data(), static_cast<int>(words.size()));
        break;
      }
      case LogEventKind::XaBlock: target.playXa(event.data.data()); break;
      case LogEventKind::CdAudio: target.playCdAudio(event.data.data(), static_cast<int>(event.data.size())); break;
      default: break;
    }
  }
  renderTo(end);
  return out;
}

double RmsLevel(const std::vector<std::int16_t>& stereo) {
  if (stereo.empty()) return 0.0;
  double sum = 0;
  for (const std::int16_t s : stereo) sum += static_cast<double>(s) * s;
  return std::sqrt(sum / static_cast<double>(stereo.size())) / 32768.0;
}

}  // namespace kestrel::test
