#include "plugin/bound_plugin.h"

namespace kestrel {
namespace {

std::mutex& ThePluginLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

BoundPlugin::~BoundPlugin() {
  Close();
  Shutdown();
  // Members go in reverse order: the library is unloaded before the lock is released.
}

bool BoundPlugin::Bind(const std::string& path) {
  if (!lock_.owns_lock()) lock_ = std::unique_lock(ThePluginLock());
  library_ = DynamicLibrary::Open(path);
  api_ = library_.IsLoaded() ? BindSpuPluginApi(library_) : SpuPluginApi{};
  return library_.IsLoaded();
}

bool BoundPlugin::TryLock() {
  if (!lock_.owns_lock()) lock_ = std::unique_lock(ThePluginLock(), std::try_to_lock);
  return lock_.owns_lock();
}

void BoundPlugin::Init() {
  if (api_.SPUinit != nullptr) api_.SPUinit();
  initialised_ = true;
}

void BoundPlugin::Open(void* window) {
  if (api_.SPUopen != nullptr) api_.SPUopen(window);
  opened_ = true;
}

void BoundPlugin::Close() {
  if (opened_ && api_.SPUclose != nullptr) api_.SPUclose();
  opened_ = false;
}

void BoundPlugin::Shutdown() {
  if (initialised_ && api_.SPUshutdown != nullptr) api_.SPUshutdown();
  initialised_ = false;
}

}  // namespace kestrel
