#include "log/Logger.h"

#include <cstdarg>

#include "log/LoggerImpl.h"

namespace Orb {

Logger::Logger() {
  auto* candidate = new LoggerImpl();
  if (candidate->load())
    implementation = candidate;
  else
    delete candidate;
}

Logger::~Logger() {
  if (implementation) {
    implementation->close();
    delete implementation;
  }
}

Logger* Logger::instance() {
  // A function-local static is initialised exactly once even when several threads log
  // their first message together. It is deliberately never deleted (see the header).
  static Logger* const theLogger = new Logger();
  return theLogger;
}

void Logger::write(Logger* logger, const char* category, const char* function, int line,
                   const char* format, ...) {
  if (!logger || !logger->implementation) return;
  LoggerImpl& library = *logger->implementation;
  if (!library.isEnabled()) return;
  va_list values;
  va_start(values, format);
  library.write(category, function, line, format, &values);
  va_end(values);
}

}  // namespace Orb
