#pragma once
// The general-purpose name of the shared reference; it behaves exactly like the STL-safe one.
#include "db/RefCountedPtr_STLSafe.h"

namespace kttl {

template <class T>
class RefCountedPtr : public RefCountedPtr_STLSafe<T> {
 public:
  using RefCountedPtr_STLSafe<T>::RefCountedPtr_STLSafe;
  RefCountedPtr() = default;
};

}  // namespace kttl
