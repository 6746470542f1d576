#include "tools/TaskPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace QuillRender {
namespace {

TEST(TaskPool, EveryTaskRunsOnThePoolsThreadsBeforeFinishReturns) {
  std::atomic<int> ran{0}, onCaller{0}, mostWaiting{0}, waiting{0};
  const std::thread::id caller = std::this_thread::get_id();
  TaskPool pool(3, 2);
  ASSERT_EQ(pool.threads(), 3u);
  for (int i = 0; i < 200; ++i) {
    ++waiting;
    mostWaiting = std::max(mostWaiting.load(), waiting.load());
    pool.submit([&] {
      --waiting;
      onCaller += std::this_thread::get_id() == caller;
      ++ran;
    });
  }
  pool.finish();
  EXPECT_EQ(ran.load(), 200);
  EXPECT_EQ(onCaller.load(), 0);
  EXPECT_LE(mostWaiting.load(), 2 + 3 + 1) << "the queue holds two, each thread one, plus the one handed over";
}

TEST(TaskPool, WithoutThreadsTheCallerRunsEachTask) {
  TaskPool pool(0, 4);
  std::thread::id ranOn;
  pool.submit([&] { ranOn = std::this_thread::get_id(); });
  EXPECT_EQ(ranOn, std::this_thread::get_id()) << "run before submit returns";
}

}  // namespace
}  // namespace QuillRender
