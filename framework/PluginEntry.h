#pragma once
// The one entry point a plug-in module exports. A host loads the module, looks the entry
// up by PLUGIN_ENTRY_NAME and calls it through a GetPluginFunction.
#include "framework/Plugin.h"
#include "framework/PluginHost.h"

namespace Orb {

/// The exported symbol a host looks up in a loaded module.
inline constexpr const char* PLUGIN_ENTRY_NAME = "_getPlugin";

/// `_getPlugin(host, out)`: creates the module's plug-in for `host` (not owned; it must
/// outlive the plug-in) and stores it through `out`, or stores null when it cannot be
/// made. Always answers 0: a null plug-in is the only sign of failure. The caller owns
/// the plug-in's one reference and ends it with Plugin::release().
using GetPluginFunction = int (*)(PluginHost* host, Plugin** out);

}  // namespace Orb
