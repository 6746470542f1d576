#pragma once
// A shared reference obtained by asking an object for another of its interfaces.
#include "db/RefCountedPtr.h"

namespace kttl {

template <class T>
class RefCountedQIPtr : public RefCountedPtr<T> {
 public:
  RefCountedQIPtr() = default;

  /// Holds `object` as a T, with a reference, when the object implements T; otherwise
  /// (or for null) holds nothing and leaves the object's count alone.
  template <class Other>
  explicit RefCountedQIPtr(Other* object) : RefCountedPtr<T>(dynamic_cast<T*>(object)) {}
};

}  // namespace kttl
