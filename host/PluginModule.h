#pragma once
// A plug-in module loaded from a file the way a media engine loads one: the file is
// mapped with dlopen and its one entry (Orb::PLUGIN_ENTRY_NAME) looked up by name. Only
// the framework's interfaces cross this boundary; a host never links a module's code.
//
// Lifetime: closing the module does not unmap it. The libraries linked into a module may
// have registered clean-ups that run at process exit, and a component's threads and
// statics may outlive the host object that loaded it, so its code stays mapped until the
// process ends (RTLD_NODELETE). Every plug-in a module made must still be released
// before the PluginModule goes, because the entry is no longer reachable afterwards.
//
// Threads: open() and createPlugin() may be called from any thread; the object itself
// is immutable once opened.
#include <memory>
#include <string>

#include "framework/Plugin.h"
#include "framework/PluginEntry.h"
#include "framework/PluginHost.h"

namespace Host {

class PluginModule {
 public:
  /// Loads the module at `path` and finds its entry. On failure answers null and sets
  /// `error` to one line naming the path and the loader's own reason (dlerror's text).
  /// An empty path is refused: it names no file.
  static std::unique_ptr<PluginModule> open(const std::string& path, std::string& error);

  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  /// The file the module was loaded from, as given to open().
  const std::string& path() const { return path_; }

  /// The module's entry, never null.
  Orb::GetPluginFunction entry() const { return entry_; }

  /// Calls the entry for `host` (not owned; it must outlive the plug-in). Answers the new
  /// plug-in, whose one reference the caller owns and ends with release(), or null when
  /// the module made none.
  Orb::Plugin* createPlugin(Orb::PluginHost* host) const;

 private:
  PluginModule(std::string path, void* handle, Orb::GetPluginFunction found);

  std::string path_;
  void* handle_;  // owned: closed on destruction
  Orb::GetPluginFunction entry_;
};

}  // namespace Host
