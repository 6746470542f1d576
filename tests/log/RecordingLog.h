#pragma once
// Control side of the test logging library "Orb_Logging": it keeps every message it is
// given so that tests can check what the program logged. A test program links it
// directly; the logger's own load by name then finds this same, already loaded copy.
#include <string>
#include <vector>

struct RecordedMessage {
  std::string category;
  std::string function;
  int line = 0;
  std::string format;
  std::string text;  // the message formatted with its values
};

extern "C" {
/// Switches what "OrbLog_isEnabled" answers (true at load).
void RecordingLog_setEnabled(bool enabled);
/// How often "OrbLog_isEnabled" was asked.
int RecordingLog_enabledQueries();
}

/// Every message received since the last clear, oldest first.
std::vector<RecordedMessage> RecordingLog_messages();
void RecordingLog_clear();
