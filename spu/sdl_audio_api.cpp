#include "spu/sdl_audio_api.h"

#include <dlfcn.h>

#include <cstdio>

namespace kestrel::spu {
namespace {

constexpr const char* kSdlLibrary = "libSDL2-2.0.so.0";  // the soname of every SDL 2.x release

template <typename Function>
bool Resolve(void* library, Function& function, const char* name) {
  function = reinterpret_cast<Function>(::dlsym(library, name));
  return function != nullptr;
}

const SdlAudioApi* Load() {
  void* library = ::dlopen(kSdlLibrary, RTLD_NOW | RTLD_LOCAL);
  static SdlAudioApi api{};
  if (library != nullptr && Resolve(library, api.initSubSystem, "SDL_InitSubSystem") &&
      Resolve(library, api.quitSubSystem, "SDL_QuitSubSystem") && Resolve(library, api.wasInit, "SDL_WasInit") &&
      Resolve(library, api.quit, "SDL_Quit") && Resolve(library, api.openAudioDevice, "SDL_OpenAudioDevice") &&
      Resolve(library, api.pauseAudioDevice, "SDL_PauseAudioDevice") &&
      Resolve(library, api.closeAudioDevice, "SDL_CloseAudioDevice"))
    return &api;
  std::fprintf(stderr, "Kestrel Reference SPU: no sound output: %s\n", ::dlerror());
  if (library != nullptr) ::dlclose(library);
  return nullptr;
}

}  // namespace

// Never unloaded: an instance destroyed as the plugin unloads may still close its device, and the
// sound back ends (PulseAudio, D-Bus) leave thread-exit handlers that must not outlive their code.
const SdlAudioApi* SdlAudio() {
  static const SdlAudioApi* const api = Load();
  return api;
}

}  // namespace kestrel::spu
