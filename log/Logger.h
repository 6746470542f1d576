#pragma once
// Process-wide diagnostics. Messages go to the optional logging library "Orb_Logging",
// loaded once on first use; without it (or with any of its four entry points missing)
// every write is a pointer test and nothing else.
//
// Every log site reads: Orb::Logger::write(Orb::Logger::instance(), category, function,
// line, format, ...). The format is handed to the library unformatted, with the values.

namespace Orb {

class LoggerImpl;

class Logger {
 public:
  /// The process-wide logger, created (and the library loaded) on the first call from
  /// any thread. It lives until the process ends and is never destroyed, so no exit-time
  /// destructor calls into a library that may already be unloaded. Never null.
  static Logger* instance();

  /// Hands one message to the library when it is loaded and answers "enabled".
  /// Does nothing when `logger` or its implementation is null.
  static void write(Logger* logger, const char* category, const char* function, int line,
                    const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 5, 6)))
#endif
      ;

  /// Closes the library ("OrbLog_close") and releases it.
  virtual ~Logger();

  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

 private:
  Logger();
  LoggerImpl* implementation = nullptr;  // owned; null when logging is unavailable
};

}  // namespace Orb
