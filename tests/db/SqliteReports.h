#pragma once
// Checks on what the database layer logged, through the recording logging library.
#include <gtest/gtest.h>

#include <string>

#include "tests/log/RecordingLog.h"

/// The one record the layer must have written since the last clear.
inline void expectOneSqliteReport(const std::string& function, int line, int code) {
  const auto messages = RecordingLog_messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].category, "Cache");
  EXPECT_EQ(messages[0].function, function);
  EXPECT_EQ(messages[0].line, line);
  EXPECT_EQ(messages[0].format, "SQLITE ERROR: %d\n%s");
  EXPECT_EQ(messages[0].text.substr(0, messages[0].text.find('\n')),
            "SQLITE ERROR: " + std::to_string(code));
}

inline void expectNothingLogged() { EXPECT_TRUE(RecordingLog_messages().empty()); }
