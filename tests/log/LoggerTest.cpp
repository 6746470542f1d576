// The logger with the recording library linked in: messages arrive with their fields
// and values, a disabled library receives nothing, and the first use from many threads
// at once creates one logger.
#include "log/Logger.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "tests/log/RecordingLog.h"

namespace {

class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingLog_setEnabled(true);
    RecordingLog_clear();
  }
};

TEST_F(LoggerTest, DeliversCategoryFunctionLineFormatAndValues) {
  Orb::Logger::write(Orb::Logger::instance(), "Cache", "KTDSOLD::Database::Open", 441,
                     "SQLITE ERROR: %d\n%s", 14, "unable to open database file");
  auto messages = RecordingLog_messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].category, "Cache");
  EXPECT_EQ(messages[0].function, "KTDSOLD::Database::Open");
  EXPECT_EQ(messages[0].line, 441);
  EXPECT_EQ(messages[0].format, "SQLITE ERROR: %d\n%s");
  EXPECT_EQ(messages[0].text, "SQLITE ERROR: 14\nunable to open database file");
}

TEST_F(LoggerTest, DisabledLibraryIsAskedButReceivesNothing) {
  RecordingLog_setEnabled(false);
  int asked = RecordingLog_enabledQueries();
  Orb::Logger::write(Orb::Logger::instance(), "Text", "f", 1, "%s", "dropped");
  EXPECT_EQ(RecordingLog_enabledQueries(), asked + 1);
  EXPECT_TRUE(RecordingLog_messages().empty());
  RecordingLog_setEnabled(true);
  Orb::Logger::write(Orb::Logger::instance(), "Text", "f", 2, "%s", "kept");
  EXPECT_EQ(RecordingLog_messages().size(), 1u);
}

TEST_F(LoggerTest, NullLoggerIsIgnored) {
  Orb::Logger::write(nullptr, "Text", "f", 1, "%d", 1);
  EXPECT_TRUE(RecordingLog_messages().empty());
}

TEST_F(LoggerTest, FirstUseFromManyThreadsCreatesOneLoggerAndLosesNoMessage) {
  constexpr int kThreads = 8;
  std::vector<Orb::Logger*> seen(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.emplace_back([&seen, i] {
      seen[i] = Orb::Logger::instance();
      Orb::Logger::write(seen[i], "Text", "thread", i, "message %d", i);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(std::set<Orb::Logger*>(seen.begin(), seen.end()).size(), 1u);
  EXPECT_NE(seen[0], nullptr);
  EXPECT_EQ(RecordingLog_messages().size(), static_cast<size_t>(kThreads));
}

}  // namespace
