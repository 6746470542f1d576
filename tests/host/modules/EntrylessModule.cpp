// A shared library that loads but exports no plug-in entry, as a host finds when pointed
// at the wrong library.
extern "C" __attribute__((visibility("default"))) int notAPluginEntry() { return 0; }
