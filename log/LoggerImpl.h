#pragma once
// The loaded logging library and its four entry points. Private to the logger.
#include <cstdarg>

#include "platform/Library.h"

namespace Orb {

class LoggerImpl {
 public:
  using ConfigureFunction = void (*)();
  using CloseFunction = void (*)();
  using IsEnabledFunction = bool (*)();
  using WriteFunction = void (*)(const char* category, const char* function, int line,
                                 const char* format, va_list* values);

  LoggerImpl() = default;
  /// Clears the entry points and releases the library.
  virtual ~LoggerImpl();

  LoggerImpl(const LoggerImpl&) = delete;
  LoggerImpl& operator=(const LoggerImpl&) = delete;

  /// Loads "Orb_Logging" and resolves "OrbLog_configure", "OrbLog_close",
  /// "OrbLog_isEnabled" and "OrbLog_write" in that order. When the library or any entry
  /// point is missing it releases the library, leaves every field null and answers false.
  bool load();

  Platform::LibraryHandle module = nullptr;
  ConfigureFunction configure = nullptr;
  CloseFunction close = nullptr;
  IsEnabledFunction isEnabled = nullptr;
  WriteFunction write = nullptr;

 private:
  void unload();
};

}  // namespace Orb
