#pragma once
// One plugin in use. A library loaded twice is one instance with one state, so only one
// user at a time (the player, the decoder, the plugin page's Configure, About and Test) may
// hold a plugin: binding takes the process-wide plugin lock and keeps it until the object
// goes, and every way out closes and shuts down what was opened and initialised.

#include <mutex>
#include <string>

#include "plugin/dynamic_library.h"
#include "plugin/spu_plugin_api.h"

namespace kestrel {

class BoundPlugin {
 public:
  BoundPlugin() = default;  // nothing bound, no lock held
  BoundPlugin(const BoundPlugin&) = delete;
  BoundPlugin& operator=(const BoundPlugin&) = delete;
  ~BoundPlugin();

  // Waits for the plugin lock, then loads `path` and binds its entry points.
  // False when it did not load; Error() says why.
  bool Bind(const std::string& path);
  // Takes the plugin lock only when no one holds it, for a caller that must not wait
  // (the user-interface thread); false when someone does. Bind then does not wait.
  bool TryLock();

  bool IsLoaded() const { return library_.IsLoaded(); }
  const std::string& Error() const { return library_.Error(); }
  const SpuPluginApi& Api() const { return api_; }
  // For entry points beyond the common ones.
  const DynamicLibrary& Library() const { return library_; }

  // SPUinit and SPUopen, remembered so that they are undone on every path.
  void Init();
  void Open(void* window);
  // SPUclose and SPUshutdown now, each only when its counterpart ran.
  void Close();
  void Shutdown();

 private:
  std::unique_lock<std::mutex> lock_;
  DynamicLibrary library_;
  SpuPluginApi api_;
  bool initialised_ = false;
  bool opened_ = false;
};

}  // namespace kestrel
