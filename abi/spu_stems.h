#pragma once
// An entry point only our own SPU plugin exports: SPUrender that also hands back, beside the
// mixed frames, what each source added to them, so a host can write one track per voice from a
// single rendering pass. A host looks it up by name and falls back when a plugin lacks it.

namespace kestrel::stems_abi {

inline constexpr char kRenderStemsName[] = "KestrelSPUrenderStems";

// The tracks, in this order: voices 0..23, the reverb return, the CD input (CD audio and XA).
inline constexpr int kVoiceTracks = 24;
inline constexpr int kReverbTrack = 24;
inline constexpr int kCdTrack = 25;
inline constexpr int kTrackCount = 26;

// Renders bytes / 4 stereo frames into `mix` exactly as SPUrender does, and the same frames of
// every track into `tracks`: track t's frames start at tracks + t * (bytes / 2), s16 left first.
// Each track is its source after its own volume, the reverb's and the main volume; the tracks of a
// frame add up to the mixed frame unless the voices' sum clips (the main volume's rounding is
// shared out so that nothing else is lost).
using RenderStems = void (*)(void* mix, int bytes, short* tracks);

}  // namespace kestrel::stems_abi
