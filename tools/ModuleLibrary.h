#pragma once
// The component module, loaded from a file the way a media engine loads a plug-in, and
// its one entry point. Only the framework's interfaces cross this boundary: the tool
// never sees the component's own classes.
#include <memory>
#include <string>

#include "framework/Plugin.h"
#include "framework/PluginHost.h"

namespace QuillRender {

class ModuleLibrary {
 public:
  /// The module's exported `_getPlugin`.
  using GetPlugin = int (*)(Orb::PluginHost* host, Orb::Plugin** out);

  /// Loads `path` and finds `_getPlugin`; null with `error` set when either fails.
  static std::unique_ptr<ModuleLibrary> open(const std::string& path, std::string& error);

  /// The module built beside the running program (where the build puts it).
  static std::string defaultPath();

  /// Unloads the module, which stays mapped until the process ends (see the source).
  /// Every plug-in it made must be released first.
  ~ModuleLibrary();
  ModuleLibrary(const ModuleLibrary&) = delete;
  ModuleLibrary& operator=(const ModuleLibrary&) = delete;

  GetPlugin getPlugin() const { return getPlugin_; }

 private:
  ModuleLibrary(void* handle, GetPlugin entry) : handle_(handle), getPlugin_(entry) {}

  void* handle_;
  GetPlugin getPlugin_;
};

}  // namespace QuillRender
