#include "host/PluginModule.h"

#include <dlfcn.h>

namespace Host {
namespace {

std::string loaderReason() {
  const char* reason = dlerror();
  return reason ? reason : "no reason given";
}

}  // namespace

PluginModule::PluginModule(std::string path, void* handle, Orb::GetPluginFunction found)
    : path_(std::move(path)), handle_(handle), entry_(found) {}

std::unique_ptr<PluginModule> PluginModule::open(const std::string& path, std::string& error) {
  if (path.empty()) {
    // dlopen would answer the host program itself for an empty name.
    error = "no plug-in module path was given";
    return nullptr;
  }
  dlerror();  // forget any reason left over from an earlier call
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle) {
    error = "cannot load the plug-in module " + path + ": " + loaderReason();
    return nullptr;
  }
  void* entry = dlsym(handle, Orb::PLUGIN_ENTRY_NAME);
  if (!entry) {
    error = "the plug-in module " + path + " has no " + Orb::PLUGIN_ENTRY_NAME + " entry: " +
            loaderReason();
    dlclose(handle);
    return nullptr;
  }
  return std::unique_ptr<PluginModule>(
      new PluginModule(path, handle, reinterpret_cast<Orb::GetPluginFunction>(entry)));
}

PluginModule::~PluginModule() { dlclose(handle_); }

Orb::Plugin* PluginModule::createPlugin(Orb::PluginHost* host) const {
  Orb::Plugin* plugin = nullptr;
  entry_(host, &plugin);
  return plugin;
}

}  // namespace Host
