#include "rasterizer/HandOverMutex.h"

#include "platform/Sleep.h"

namespace Orb {

void HandOverMutex::lock() {
  waiting.fetch_add(1);
  mutex.lock();
  waiting.fetch_sub(1);
}

void HandOverMutex::handOver() {
  mutex.unlock();
  // Always yield once, so that a thread about to announce itself gets the chance; then wait
  // for every announced thread to have had the lock.
  do {
    Platform::sleepMilliseconds(0);
  } while (waiting.load() > 0);
  lock();
}

}  // namespace Orb
