#include "platform/Folders.h"

#include <cstdlib>

namespace Platform {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

}  // namespace

std::string userDataFolder() {
  // The XDG rules say a relative value is invalid and must be ignored.
  std::string xdg = environment("XDG_DATA_HOME");
  if (!xdg.empty() && xdg.front() == '/') return xdg;
  std::string home = environment("HOME");
  if (home.empty()) return std::string();
  return home + "/.local/share";
}

std::string systemFontsFolder() {
  std::string configured = environment(kFontsFolderVariable);
  if (!configured.empty()) return configured;
  std::string data = userDataFolder();
  if (data.empty()) return std::string();
  return data + "/fonts";
}

}  // namespace Platform
