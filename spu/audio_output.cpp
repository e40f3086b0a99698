#include "spu/audio_output.h"

#include <cstring>
#include <thread>

#include "spu/sdl_audio_api.h"

namespace kestrel::spu {
namespace {
constexpr auto kPollInterval = std::chrono::milliseconds(1);
constexpr auto kDrainLimit = std::chrono::milliseconds(250);
constexpr auto kStallLimit = std::chrono::milliseconds(500);
// Without a device, let rendering run this far ahead of the clock.
constexpr auto kClockLead = std::chrono::milliseconds(20);
}  // namespace

void AudioOutput::open() {
  if (open_) return;
  open_ = true;
  ring_.clear();
  clockStart_ = std::chrono::steady_clock::now();
  clockFrames_ = 0;
  const SdlAudioApi* sdl = SdlAudio();
  if (sdl == nullptr || sdl->initSubSystem(SDL_INIT_AUDIO) != 0) return;
  sdlStarted_ = true;
  SDL_AudioSpec want{};
  want.freq = kSampleRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 512;
  want.callback = &AudioOutput::Callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  device_ = sdl->openAudioDevice(nullptr, 0, &want, &have, 0);  // SDL converts if the card differs
  if (device_ != 0) sdl->pauseAudioDevice(device_, 0);
}

void AudioOutput::close() {
  if (!open_) return;
  const SdlAudioApi* sdl = SdlAudio();  // loaded already if a device or SDL was started
  if (device_ != 0) {
    const auto deadline = std::chrono::steady_clock::now() + kDrainLimit;
    while (ring_.size() > 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(kPollInterval);
    sdl->closeAudioDevice(device_);
    device_ = 0;
  }
  if (sdlStarted_) {
    sdl->quitSubSystem(SDL_INIT_AUDIO);
    // SDL keeps its own bookkeeping until SDL_Quit; release it when nothing else in the process uses SDL.
    if (sdl->wasInit(SDL_INIT_EVERYTHING) == 0) sdl->quit();
  }
  sdlStarted_ = false;
  open_ = false;
}

void AudioOutput::write(const std::int16_t* frames, std::size_t count) {
  if (!open_) return;
  if (device_ == 0) {
    paceByClock(count);
    return;
  }
  auto lastProgress = std::chrono::steady_clock::now();
  while (count > 0) {
    const std::size_t pushed = ring_.push(frames, count);
    frames += 2 * pushed;
    count -= pushed;
    if (count == 0) break;
    const auto now = std::chrono::steady_clock::now();
    if (pushed > 0) lastProgress = now;
    // A device that stopped pulling must not hang the caller: drop what does not fit.
    if (now - lastProgress > kStallLimit) break;
    std::this_thread::sleep_for(kPollInterval);
  }
}

void AudioOutput::paceByClock(std::size_t frames) {
  clockFrames_ += frames;
  const auto due = clockStart_ + std::chrono::microseconds(clockFrames_ * 1000000 / kSampleRate);
  if (due > std::chrono::steady_clock::now() + kClockLead) std::this_thread::sleep_until(due - kClockLead);
}

void AudioOutput::Callback(void* self, std::uint8_t* stream, int bytes) {
  auto* output = static_cast<AudioOutput*>(self);
  auto* samples = reinterpret_cast<std::int16_t*>(stream);
  const std::size_t wanted = static_cast<std::size_t>(bytes) / 4;
  const std::size_t got = output->ring_.pop(samples, wanted);
  // An underrun plays silence.
  std::memset(samples + 2 * got, 0, (wanted - got) * 4);
}

}  // namespace kestrel::spu
