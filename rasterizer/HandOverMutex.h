#pragma once
// The component's recursive lock, with one promise a plain mutex does not make: a thread
// that lets go of it only to yield (the worker between two refused renders) can hand it to
// the threads already waiting instead of taking it straight back. Without that a worker
// retrying against a refusing downstream kept a host's detach or destruction waiting for
// seconds on a busy machine, because an unlock followed by a yield wakes a waiter but
// rarely lets it run before the lock is taken again.
#include <atomic>
#include <boost/thread/recursive_mutex.hpp>

namespace Orb {

class HandOverMutex {
 public:
  /// Waits for the lock, counted as waiting meanwhile; recursive like the mutex it wraps.
  void lock();
  bool try_lock() { return mutex.try_lock(); }
  void unlock() { mutex.unlock(); }

  /// For a thread holding the lock exactly once: lets go, yields until no thread that was
  /// waiting for the lock still is, and takes it again.
  void handOver();

 private:
  boost::recursive_mutex mutex;
  std::atomic<int> waiting{0};
};

}  // namespace Orb
