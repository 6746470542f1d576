// A thread that only lets go of the component's lock to yield must not keep a waiting
// thread out: the worker retrying against a refusing downstream did so for seconds.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <boost/thread/lock_guard.hpp>
#include <thread>

#include "rasterizer/HandOverMutex.h"

namespace {

using Orb::HandOverMutex;

// Holds the lock and hands it over in a loop, as the worker's retry loop does: a while of
// work under the lock (a render), then a hand-over. It counts its rounds under the lock, so
// that a thread holding the lock sees a count that cannot move.
class BusyHolder {
 public:
  explicit BusyHolder(HandOverMutex& shared) : lock(shared), thread([this] { run(); }) {}
  ~BusyHolder() {
    stop = true;
    thread.join();
  }
  long roundsSoFar() const { return rounds.load(); }

 private:
  void run() {
    boost::lock_guard<HandOverMutex> guard(lock);
    while (!stop.load()) {
      rounds.fetch_add(1);
      const auto workedFrom = std::chrono::steady_clock::now();
      while (std::chrono::steady_clock::now() - workedFrom < std::chrono::microseconds(200)) {
      }
      lock.handOver();
    }
  }

  HandOverMutex& lock;
  std::atomic<bool> stop{false};
  std::atomic<long> rounds{0};
  std::thread thread;
};

TEST(HandOverMutex, AWaitingThreadGetsTheLockWithinTheHoldersNextRound) {
  HandOverMutex lock;
  BusyHolder holder(lock);
  for (int attempt = 0; attempt < 50; ++attempt) {
    const long busyFrom = holder.roundsSoFar();
    while (holder.roundsSoFar() < busyFrom + 3) std::this_thread::yield();
    const long before = holder.roundsSoFar();
    boost::lock_guard<HandOverMutex> guard(lock);
    // The round under way when this thread announced itself may finish, and the holder may
    // count one more before it sees the announcement; never more.
    ASSERT_LE(holder.roundsSoFar() - before, 2) << "attempt " << attempt;
  }
}

TEST(HandOverMutex, IsRecursiveAndHandsOverToNobodyWithoutWaiters) {
  HandOverMutex lock;
  lock.lock();
  lock.lock();
  EXPECT_TRUE(lock.try_lock());
  lock.unlock();
  lock.unlock();
  lock.handOver();  // nobody waits: takes it straight back
  std::atomic<bool> taken{false};
  std::thread other([&] { taken = lock.try_lock(); });
  other.join();
  EXPECT_FALSE(taken.load()) << "the lock is held again after the hand-over";
  lock.unlock();
}

}  // namespace
