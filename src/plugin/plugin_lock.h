#pragma once
// A plugin library loaded twice is one instance with one state, so only one thread at a
// time may use a plugin: the player and the decoder hold this lock from binding a plugin
// until they have unloaded it.

#include <mutex>

namespace kestrel {

std::mutex& ThePluginLock();

}  // namespace kestrel
