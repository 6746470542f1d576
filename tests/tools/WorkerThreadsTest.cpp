#include "tools/WorkerThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace QuillRender {
namespace {

TEST(WorkerThreads, EachWorkerRunsOnceAndTheFirstOnTheCallingThread) {
  std::vector<std::atomic<int>> calls(5);
  std::thread::id firstThread;
  std::atomic<int> otherThreads{0};
  const std::thread::id caller = std::this_thread::get_id();
  const std::size_t ran = runWorkers(calls.size(), [&](std::size_t worker) {
    ++calls[worker];
    if (worker == 0) firstThread = std::this_thread::get_id();
    else otherThreads += std::this_thread::get_id() != caller;
  });
  EXPECT_EQ(ran, calls.size());
  for (const auto& count : calls) EXPECT_EQ(count.load(), 1);
  EXPECT_EQ(firstThread, caller) << "one worker needs no thread of its own";
  EXPECT_EQ(otherThreads.load(), 4);
  EXPECT_EQ(runWorkers(0, [](std::size_t) { ADD_FAILURE() << "no worker was asked for"; }), 0u);
}

}  // namespace
}  // namespace QuillRender
