#pragma once
// The module's one exported entry, as a host loads it by name (Orb::PLUGIN_ENTRY_NAME).
#include <type_traits>

#include "framework/PluginEntry.h"

extern "C" {

/// Creates the module's component for `host` (not owned; it must outlive the component)
/// and stores it through `out`, or stores null when it cannot be made. Always answers 0.
/// The caller owns the component's one reference and ends it with release().
__attribute__((visibility("default"))) int _getPlugin(Orb::PluginHost* host, Orb::Plugin** out);
}

static_assert(std::is_same_v<decltype(&_getPlugin), Orb::GetPluginFunction>,
              "the exported entry has the type hosts call it through");
