// A logging library for tests. Built three times: complete; (with RECORDING_LOG_INCOMPLETE)
// without "OrbLog_write", so the logger must refuse it, a copy that aborts if it is used;
// and (with RECORDING_LOG_SLOW_LOAD) complete but slow to load.
#include "tests/log/RecordingLog.h"

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::mutex guard;
std::vector<RecordedMessage>& store() {
  static std::vector<RecordedMessage> messages;
  return messages;
}
std::atomic<bool> enabled{true};
std::atomic<int> queries{0};

void refuseIfIncomplete() {
#ifdef RECORDING_LOG_INCOMPLETE
  std::abort();
#endif
}

#ifdef RECORDING_LOG_SLOW_LOAD
// Loads as slowly as a library with much to set up: every thread that starts logging
// meanwhile finds the logger's creation under way, the window a racy creation fails in.
__attribute__((constructor)) void loadSlowly() { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }
#endif
}  // namespace

EXPORT void OrbLog_configure() { refuseIfIncomplete(); }
EXPORT void OrbLog_close() { refuseIfIncomplete(); }
EXPORT bool OrbLog_isEnabled() {
  refuseIfIncomplete();
  ++queries;
  return enabled;
}

#ifndef RECORDING_LOG_INCOMPLETE
EXPORT void OrbLog_write(const char* category, const char* function, int line, const char* format,
                         va_list* values) {
  RecordedMessage message{category ? category : "", function ? function : "", line,
                          format ? format : "", ""};
  char text[4096];
  va_list copy;
  va_copy(copy, *values);
  std::vsnprintf(text, sizeof text, format ? format : "", copy);
  va_end(copy);
  message.text = text;
  std::lock_guard<std::mutex> lock(guard);
  store().push_back(std::move(message));
}
#endif

EXPORT void RecordingLog_setEnabled(bool value) { enabled = value; }
EXPORT int RecordingLog_enabledQueries() { return queries; }

__attribute__((visibility("default"))) std::vector<RecordedMessage> RecordingLog_messages() {
  std::lock_guard<std::mutex> lock(guard);
  return store();
}

__attribute__((visibility("default"))) void RecordingLog_clear() {
  std::lock_guard<std::mutex> lock(guard);
  store().clear();
}
