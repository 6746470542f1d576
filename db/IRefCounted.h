#pragma once
// Intrusive reference counting for objects that are shared between owners without a
// common owner (prepared statements held by a registry and by callers at the same time).
#include <cstdint>

namespace kttl {

/// An object that lives as long as references on it are held. Counts are plain integers:
/// an object and every reference on it belong to one thread at a time.
class IRefCounted {
 public:
  virtual ~IRefCounted() = default;
  /// Takes one reference; answers the new count.
  virtual std::int32_t AddRef() = 0;
  /// Drops one reference; answers the new count, 0 when the object destroyed itself.
  virtual std::int32_t Release() = 0;
  /// The current count.
  virtual std::int32_t GetRefCount() const = 0;
};

}  // namespace kttl
