#pragma once
// A shared reference on a kttl::IRefCounted object that standard containers may copy and
// assign freely: every copy holds exactly one reference of its own.
#include "db/IRefCounted.h"

namespace kttl {

/// Holds null or exactly one reference on a T (T derived from IRefCounted).
template <class T>
class RefCountedPtr_STLSafe {
 public:
  RefCountedPtr_STLSafe() = default;

  /// Holds `object` (null allowed) and takes a reference on it.
  explicit RefCountedPtr_STLSafe(T* object) : held(object) {
    if (held) held->AddRef();
  }

  RefCountedPtr_STLSafe(const RefCountedPtr_STLSafe& other) : RefCountedPtr_STLSafe(other.held) {}

  /// Takes the incoming reference before dropping the old one, so assigning the object
  /// already held (or the reference itself) never destroys it.
  RefCountedPtr_STLSafe& operator=(const RefCountedPtr_STLSafe& other) {
    T* incoming = other.held;
    if (incoming) incoming->AddRef();
    if (held) held->Release();
    held = incoming;
    return *this;
  }

  virtual ~RefCountedPtr_STLSafe() {
    if (held) held->Release();
    held = nullptr;
  }

  /// The held object, or null; the reference stays with this holder.
  T* Get() const { return held; }
  T* operator->() const { return held; }
  T& operator*() const { return *held; }
  explicit operator bool() const { return held != nullptr; }

 private:
  T* held = nullptr;
};

}  // namespace kttl
