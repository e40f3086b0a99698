// A shared library that loads but is no SPU plugin: it has none of the entry points.
extern "C" __attribute__((visibility("default"))) int KestrelNotAPlugin() { return 42; }
