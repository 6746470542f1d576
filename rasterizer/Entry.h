#pragma once
// The module's one exported entry, as a host loads it by name ("_getPlugin").
#include "framework/Plugin.h"
#include "framework/PluginHost.h"

extern "C" {

/// Creates the module's component for `host` (not owned; it must outlive the component)
/// and stores it through `out`, or stores null when it cannot be made. Always answers 0.
/// The caller owns the component's one reference and ends it with release().
__attribute__((visibility("default"))) int _getPlugin(Orb::PluginHost* host, Orb::Plugin** out);

/// The type of `_getPlugin`, for hosts that look it up in the loaded module.
using GetPluginFunction = int (*)(Orb::PluginHost* host, Orb::Plugin** out);
}
