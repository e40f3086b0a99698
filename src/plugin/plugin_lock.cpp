#include "plugin/plugin_lock.h"

namespace kestrel {

std::mutex& ThePluginLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace kestrel
