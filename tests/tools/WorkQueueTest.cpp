#include "tools/WorkQueue.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace QuillRender {
namespace {

TEST(WorkQueue, HandsOutEveryIndexOnceInOrder) {
  WorkQueue queue(3);
  for (std::size_t expected = 0; expected < 3; ++expected) EXPECT_EQ(queue.next(), expected);
  EXPECT_FALSE(queue.next());
  EXPECT_FALSE(queue.failure());
  EXPECT_FALSE(WorkQueue(0).next());
}

TEST(WorkQueue, AFailureStopsTheHandingOutAndTheEarliestIsKept) {
  WorkQueue queue(10);
  for (int i = 0; i < 6; ++i) queue.next();
  queue.fail(4, "four");
  EXPECT_FALSE(queue.next()) << "nothing after a failure is started";
  queue.fail(5, "five");  // finished later by another thread, yet after the first in order
  queue.fail(2, "two");   // earlier in order: a run in order would have stopped here
  queue.fail(3, "three");
  ASSERT_TRUE(queue.failure());
  EXPECT_EQ(*queue.failure(), "two");
}

TEST(WorkQueue, ThreadsTakingAtOnceShareTheIndicesWithoutGapsOrRepeats) {
  constexpr std::size_t kCount = 2000;
  WorkQueue queue(kCount);
  std::vector<std::vector<std::size_t>> taken(4);
  std::vector<std::thread> threads;
  for (auto& mine : taken) {
    threads.emplace_back([&queue, &mine] {
      while (const auto index = queue.next()) mine.push_back(*index);
    });
  }
  for (std::thread& thread : threads) thread.join();
  std::vector<int> seen(kCount, 0);
  for (const auto& mine : taken) {
    for (std::size_t i = 1; i < mine.size(); ++i) EXPECT_LT(mine[i - 1], mine[i]);
    for (const std::size_t index : mine) ++seen[index];
  }
  for (std::size_t i = 0; i < kCount; ++i) EXPECT_EQ(seen[i], 1) << i;
}

}  // namespace
}  // namespace QuillRender
