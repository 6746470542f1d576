#include "rasterizer/Entry.h"

#include <new>

#include "rasterizer/QuillRasterizer.h"

extern "C" int _getPlugin(Orb::PluginHost* host, Orb::Plugin** out) {
  if (!out) return 0;
  *out = nullptr;
  try {
    *out = new Orb::QuillRasterizer(host);
  } catch (...) {
    // Nothing may escape into the host: a component that cannot be made is a null one.
  }
  return 0;
}
