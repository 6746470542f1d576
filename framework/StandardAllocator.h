#pragma once
// The allocator objects behind the framework's strings. Hosts and modules free each
// other's strings, so every string remembers which allocator object made its array and
// gives it back there.
#include <cstdint>
#include <new>

namespace Orb {

template <typename T>
class StandardAllocator {
 public:
  /// The one allocator object for T, created on first use and destroyed at process exit.
  static StandardAllocator* instance() {
    static StandardAllocator shared;
    return &shared;
  }

  virtual ~StandardAllocator() = default;

  /// A new, uninitialised array of `count` elements, or null when it cannot be had.
  /// A negative count is such a request: it is refused rather than wrapped to a huge size.
  virtual T* allocate(std::int32_t count) {
    if (count < 0) return nullptr;
    return new (std::nothrow) T[static_cast<std::size_t>(count)];
  }

  /// Frees an array obtained from `allocate`; null is ignored.
  virtual void deallocate(T* pointer) { delete[] pointer; }

 protected:
  StandardAllocator() = default;
};

}  // namespace Orb
