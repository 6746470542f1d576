#pragma once
// The framework's string: a counted, 0-terminated array owned by the string and returned
// to the allocator object that made it. Null data is the empty string, everywhere: an
// empty string copies, compares and destroys without touching its array.
#include <cstdint>
#include <cstring>

#include "framework/StandardAllocator.h"

namespace Orb {

template <typename T>
class SimpleString {
 public:
  /// The empty string (no array).
  SimpleString() = default;

  /// Copies the 0-terminated `text` into an array from `allocator` (the shared allocator
  /// of T when null). A null `text`, or an array that cannot be had, gives the empty string.
  explicit SimpleString(const T* text, StandardAllocator<T>* allocator = nullptr)
      : allocator_(allocator ? allocator : StandardAllocator<T>::instance()) {
    if (text) assign(text, countElements(text));
  }

  /// Copies `text`'s elements through the shared allocator of T; an empty source gives
  /// the empty string without reading its (null) array.
  SimpleString(const SimpleString& other) {
    if (other.data_) assign(other.data_, other.length_);
  }

  /// Takes over `other`'s array, leaving `other` empty.
  SimpleString(SimpleString&& other) noexcept
      : data_(other.data_), length_(other.length_), allocator_(other.allocator_) {
    other.data_ = nullptr;
    other.length_ = 0;
  }

  SimpleString& operator=(const SimpleString& other) {
    if (this != &other) {
      SimpleString copy(other);
      swap(copy);
    }
    return *this;
  }

  SimpleString& operator=(SimpleString&& other) noexcept {
    SimpleString taken(static_cast<SimpleString&&>(other));
    swap(taken);
    return *this;
  }

  /// Returns the array to the allocator that made it.
  ~SimpleString() { clear(); }

  /// The elements, 0-terminated; never null (the empty string answers a static "").
  const T* c_str() const {
    static const T empty[1] = {T()};
    return data_ ? data_ : empty;
  }

  /// Number of elements before the terminator.
  std::uint32_t length() const { return length_; }

  bool empty() const { return length_ == 0; }

  /// True when `text` (0-terminated; null counts as empty) has exactly these elements.
  bool equals(const T* text) const {
    const std::uint32_t otherLength = text ? countElements(text) : 0;
    return otherLength == length_ && sameElements(c_str(), text ? text : c_str(), length_);
  }

  bool operator==(const SimpleString& other) const {
    return other.length_ == length_ && sameElements(c_str(), other.c_str(), length_);
  }
  bool operator!=(const SimpleString& other) const { return !(*this == other); }

 private:
  static std::uint32_t countElements(const T* text) {
    std::uint32_t count = 0;
    while (text[count] != T()) ++count;
    return count;
  }

  static bool sameElements(const T* a, const T* b, std::uint32_t count) {
    return count == 0 || std::memcmp(a, b, count * sizeof(T)) == 0;
  }

  // Copies `count` elements of `text` plus a terminator; stays empty when the array
  // cannot be had (including a count too large for the allocator).
  void assign(const T* text, std::uint32_t count) {
    if (!allocator_) allocator_ = StandardAllocator<T>::instance();
    const std::int64_t wanted = static_cast<std::int64_t>(count) + 1;
    if (wanted > INT32_MAX) return;
    T* array = allocator_->allocate(static_cast<std::int32_t>(wanted));
    if (!array) return;
    std::memcpy(array, text, count * sizeof(T));
    array[count] = T();
    data_ = array;
    length_ = count;
  }

  void clear() {
    if (data_ && allocator_) allocator_->deallocate(data_);
    data_ = nullptr;
    length_ = 0;
  }

  void swap(SimpleString& other) noexcept {
    T* data = data_;
    std::uint32_t length = length_;
    StandardAllocator<T>* allocator = allocator_;
    data_ = other.data_, length_ = other.length_, allocator_ = other.allocator_;
    other.data_ = data, other.length_ = length, other.allocator_ = allocator;
  }

  T* data_ = nullptr;                        // owned; null for the empty string
  std::uint32_t length_ = 0;                 // elements before the terminator
  StandardAllocator<T>* allocator_ = nullptr;  // not owned; made data_
};

}  // namespace Orb
