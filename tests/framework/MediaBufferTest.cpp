// Buffer locking is recursive per thread and exclusive across threads: a component may
// nest brackets on its own thread, and another thread gets in only after the last one.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "framework/MediaBuffer.h"
#include "framework/TypedMediaBuffer.h"

namespace {

// Long enough for a thread that is not blocked to get through; a pass never waits on it
// beyond this, and a blocked thread is what is being checked for.
constexpr auto kSettle = std::chrono::milliseconds(100);

// Runs `attempt` on another thread, checks it stays blocked while the caller still holds
// the buffer, then runs `lastUnlock` and checks that the attempt gets through.
template <typename Attempt, typename LastUnlock>
void expectBlockedUntil(Attempt attempt, LastUnlock lastUnlock) {
  std::atomic<bool> through{false};
  std::thread other([&] {
    attempt();
    through = true;
  });
  std::this_thread::sleep_for(kSettle);
  EXPECT_FALSE(through.load());
  lastUnlock();
  other.join();
  EXPECT_TRUE(through.load());
}

TEST(MediaBuffer, SecondThreadWaitsForTheLastUnlock) {
  Orb::MediaBuffer buffer;
  std::uint8_t block[4] = {};
  buffer.setData(block, sizeof block);

  EXPECT_EQ(buffer.lockData(), block);
  EXPECT_EQ(buffer.lockData(), block);  // the holder may lock again
  buffer.unlockData();                  // one level still held
  expectBlockedUntil(
      [&] {
        buffer.lockData();
        buffer.unlockData();
      },
      [&] { buffer.unlockData(); });
}

TEST(MediaBuffer, LockAndLockDataShareOneRecursiveLock) {
  Orb::MediaBuffer buffer;
  buffer.lock();
  buffer.lockData();
  buffer.unlockData();
  expectBlockedUntil(
      [&] {
        buffer.lock();
        buffer.unlock();
      },
      [&] { buffer.unlock(); });
}

TEST(MediaBuffer, ReleaseWaitsUntilNoOtherThreadHoldsTheBuffer) {
  Orb::MediaBuffer buffer;
  buffer.lockData();
  expectBlockedUntil([&] { buffer.release(); }, [&] { buffer.unlockData(); });
}

TEST(MediaBuffer, SetDataViewsTheBlockKeepingTheLengthAndTypesMatchExactly) {
  Orb::MediaBuffer buffer;
  EXPECT_EQ(buffer.lockData(), nullptr);
  buffer.unlockData();
  buffer.length = 5;
  std::uint8_t block[16] = {};
  buffer.setData(block, sizeof block);
  EXPECT_EQ(buffer.lockData(), block);
  buffer.unlockData();
  EXPECT_EQ(buffer.length, 5u);
  EXPECT_EQ(buffer.size, 16u);

  EXPECT_FALSE(buffer.hasTypeName("FONT"));
  buffer.setTypeName("FONT");
  EXPECT_TRUE(buffer.hasTypeName("FONT"));
  EXPECT_FALSE(buffer.hasTypeName("font"));
  EXPECT_FALSE(buffer.hasTypeName("FONTS"));

  Orb::TypedMediaBuffer typed;
  typed.setCode("FONT");  // held in memory order, as the host reads the descriptor
  EXPECT_TRUE(typed.hasCode("FONT"));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&typed.descriptor().code), 4), "FONT");
}

}  // namespace
