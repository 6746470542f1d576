#pragma once
// Pausing the calling thread. Retry loops (the database's busy back-off, the worker's
// re-render loop) sleep through here so that tests can replace the clock.
#include <cstdint>

namespace Platform {

/// Signature of a sleep implementation; 0 milliseconds means "yield the processor".
using SleepFunction = void (*)(std::uint32_t milliseconds);

/// Sleeps for `milliseconds`, or yields when it is 0, through the installed function.
void sleepMilliseconds(std::uint32_t milliseconds);

/// Installs `function` (null restores the real sleep) and answers the one it replaces.
/// Safe to call while other threads sleep; intended for tests.
SleepFunction setSleepFunction(SleepFunction function);

}  // namespace Platform
