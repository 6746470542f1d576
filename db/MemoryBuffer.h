#pragma once
// An owned array resized as a whole. Its data and count are always set or cleared
// together, so a buffer is either empty (null, 0) or holds exactly `count` elements.
#include <cstdint>
#include <cstring>
#include <new>

namespace kttl {

template <class T>
class MemoryBuffer {
 public:
  MemoryBuffer() = default;
  MemoryBuffer(const MemoryBuffer& other) { Assign(other); }
  MemoryBuffer& operator=(const MemoryBuffer& other) {
    Assign(other);
    return *this;
  }
  virtual ~MemoryBuffer() { Resize(0, false); }

  /// Makes the array `count` elements long. A different count starts from a fresh array
  /// with unspecified contents; the same count keeps the array. `zeroFill` zeroes it.
  /// Answers the data, null when empty or when the allocation failed (then empty).
  T* Resize(std::uint32_t count, bool zeroFill) {
    if (count != elementCount) {
      delete[] data;
      data = nullptr;
      elementCount = 0;
      if (count != 0) {
        data = new (std::nothrow) T[count];
        if (data) elementCount = count;
      }
    }
    if (zeroFill && data) std::memset(data, 0, sizeof(T) * elementCount);
    return data;
  }

  /// Makes this buffer an exact copy of `other`; empty when the allocation failed.
  void Assign(const MemoryBuffer& other) {
    if (&other == this) return;
    if (Resize(other.elementCount, false))
      std::memcpy(data, other.data, sizeof(T) * elementCount);
  }

  T* Data() const { return data; }
  std::uint32_t Count() const { return elementCount; }

 private:
  T* data = nullptr;
  std::uint32_t elementCount = 0;
};

}  // namespace kttl
