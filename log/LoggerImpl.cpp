#include "log/LoggerImpl.h"

namespace Orb {

LoggerImpl::~LoggerImpl() { unload(); }

void LoggerImpl::unload() {
  configure = nullptr;
  close = nullptr;
  isEnabled = nullptr;
  write = nullptr;
  Platform::freeLibrary(module);
  module = nullptr;
}

bool LoggerImpl::load() {
  module = Platform::loadLibrary("Orb_Logging");
  if (!module) return false;
  configure = reinterpret_cast<ConfigureFunction>(Platform::findSymbol(module, "OrbLog_configure"));
  if (configure)
    close = reinterpret_cast<CloseFunction>(Platform::findSymbol(module, "OrbLog_close"));
  if (close)
    isEnabled = reinterpret_cast<IsEnabledFunction>(Platform::findSymbol(module, "OrbLog_isEnabled"));
  if (isEnabled)
    write = reinterpret_cast<WriteFunction>(Platform::findSymbol(module, "OrbLog_write"));
  if (write) return true;
  unload();
  return false;
}

}  // namespace Orb
