#include "log_render.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "spu/freeze.h"
#include "spu/spu.h"
#include "spulog/log_events.h"
#include "spulog/log_loader.h"

namespace kestrel::test {

std::vector<std::int16_t> RenderLog(const std::string& path) {
  auto loaded = LoadSpuLog(path);
  auto* log = std::get_if<LoadedLog>(&loaded);
  if (log == nullptr) return {};
  auto spu = std::make_unique<spu::Spu>();
  spu::LoadFreeze(*spu, reinterpret_cast<const std::uint8_t*>(log->block.get()));

  std::vector<std::int16_t> out(static_cast<std::size_t>(log->totalLength) * 2);
  std::uint32_t rendered = 0;
  const auto renderTo = [&](std::uint32_t time) {
    time = std::min(time, log->totalLength);
    if (time > rendered) spu->render(out.data() + 2 * static_cast<std::size_t>(rendered), static_cast<int>(time - rendered));
    rendered = std::max(rendered, time);
  };
  LogEventReader reader(log->file, log->type);
  LogEvent event;
  while (reader.Next(event)) {
    renderTo(event.time);
    switch (event.kind) {
      case LogEventKind::RegisterWrite: spu->writeRegister(event.address, event.value); break;
      case LogEventKind::RegisterRead: spu->readRegister(event.address); break;
      case LogEventKind::DmaWrite: {
        std::vector<std::uint16_t> words(event.data.size() / 2);
        for (std::size_t i = 0; i < words.size(); ++i) {
          words[i] = static_cast<std::uint16_t>(event.data[2 * i] | (event.data[2 * i + 1] << 8));
        }
        spu->writeDma(words.data(), static_cast<int>(words.size()));
        break;
      }
      case LogEventKind::XaBlock: spu->playXa(event.data.data()); break;
      case LogEventKind::CdAudio: spu->playCdda(event.data.data(), event.data.size()); break;
      default: break;
    }
  }
  renderTo(log->totalLength);
  return out;
}

double RmsLevel(const std::vector<std::int16_t>& stereo, std::size_t beginFrame, std::size_t endFrame) {
  endFrame = std::min(endFrame, stereo.size() / 2);
  if (beginFrame >= endFrame) return 0.0;
  double sum = 0;
  for (std::size_t i = 2 * beginFrame; i < 2 * endFrame; ++i) sum += double(stereo[i]) * stereo[i];
  return std::sqrt(sum / static_cast<double>(2 * (endFrame - beginFrame))) / 32768.0;
}

}  // namespace kestrel::test
