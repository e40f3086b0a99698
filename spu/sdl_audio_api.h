#pragma once
// The few SDL2 calls the real-time output makes, from an SDL2 loaded at the first open rather than
// with the plugin: hosts that only render (decoding to WAV, batch rendering) then never load SDL and
// the fifty-odd libraries it pulls in, which took longer than rendering a short log.

#include <SDL.h>

namespace kestrel::spu {

struct SdlAudioApi {
  decltype(&SDL_InitSubSystem) initSubSystem;
  decltype(&SDL_QuitSubSystem) quitSubSystem;
  decltype(&SDL_WasInit) wasInit;
  decltype(&SDL_Quit) quit;
  decltype(&SDL_OpenAudioDevice) openAudioDevice;
  decltype(&SDL_PauseAudioDevice) pauseAudioDevice;
  decltype(&SDL_CloseAudioDevice) closeAudioDevice;
};

// The process's SDL2, loaded on the first call and kept; null (and a line on stderr, once) when it
// cannot be loaded or lacks a call.
const SdlAudioApi* SdlAudio();

}  // namespace kestrel::spu
