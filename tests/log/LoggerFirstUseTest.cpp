// The logger's one-instance creation under a race it cannot miss. This program's only test
// is the first use of the logger, and the logging library on its search path is slow to
// load, so every thread released into the first use arrives while the logger is made.
#include "log/Logger.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

namespace {

TEST(LoggerFirstUse, ThreadsReleasedTogetherIntoTheFirstUseShareOneLogger) {
  constexpr int kThreads = 16;
  std::vector<Orb::Logger*> seen(kThreads, nullptr);
  std::atomic<int> waiting{kThreads};
  std::atomic<bool> released{false};
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.emplace_back([&, i] {
      --waiting;
      while (!released) std::this_thread::yield();
      seen[i] = Orb::Logger::instance();
    });
  while (waiting > 0) std::this_thread::yield();
  released = true;
  for (auto& thread : threads) thread.join();

  EXPECT_EQ(std::set<Orb::Logger*>(seen.begin(), seen.end()).size(), 1u);
  EXPECT_NE(seen[0], nullptr);
  void* library = ::dlopen("libOrb_Logging.so", RTLD_NOW | RTLD_NOLOAD);
  EXPECT_NE(library, nullptr) << "the slow library was not the one loaded";
  if (library) ::dlclose(library);
}

}  // namespace
