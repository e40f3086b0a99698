// A library that a test plugin links against and that the loader will not find.
extern "C" __attribute__((visibility("default"))) int KestrelFakeDependency() { return 7; }
