#include "platform/Sleep.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace Platform {
namespace {

void realSleep(std::uint32_t milliseconds) {
  if (milliseconds == 0)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::atomic<SleepFunction> installed{&realSleep};

}  // namespace

void sleepMilliseconds(std::uint32_t milliseconds) { installed.load()(milliseconds); }

SleepFunction setSleepFunction(SleepFunction function) {
  return installed.exchange(function ? function : &realSleep);
}

}  // namespace Platform
