// An SPU plugin whose dependency is missing at load time, so the library cannot load.
extern "C" int KestrelFakeDependency();
extern "C" __attribute__((visibility("default"))) unsigned long PSEgetLibType() {
  return KestrelFakeDependency() == 7 ? 4 : 0;
}
extern "C" __attribute__((visibility("default"))) char* PSEgetLibName() { return const_cast<char*>("Broken"); }
extern "C" __attribute__((visibility("default"))) unsigned long PSEgetLibVersion() { return 1; }
