// A plug-in module whose entry never makes a plug-in, as a module does when its component
// cannot be constructed: hosts must take the null and say so.
#include "framework/PluginEntry.h"

extern "C" __attribute__((visibility("default"))) int _getPlugin(Orb::PluginHost*,
                                                                  Orb::Plugin** out) {
  if (out) *out = nullptr;
  return 0;
}
