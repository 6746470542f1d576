#pragma once
// Base of every plug-in: an intrusive reference count, the host it was created with and
// interface lookup by id. The count is a plain integer; the host serialises retain and
// release. A plug-in starts with one reference, owned by whoever created it.
#include <cstdint>

#include "framework/PluginHost.h"
#include "framework/SimpleString.h"

namespace Orb {

class Plugin {
 public:
  /// `host` is not owned and must outlive the plug-in; it may be null (no callbacks).
  explicit Plugin(PluginHost* host) : host_(host) {}

  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  virtual ~Plugin() = default;

  /// Adds a reference; answers the new count.
  virtual std::int32_t retain() { return ++refCount_; }

  /// Drops a reference; answers the new count. At 0 the plug-in tells its host, deletes
  /// itself and tells the host again (with the freed pointer, as an identity only).
  virtual std::int32_t release() {
    const std::int32_t count = --refCount_;
    if (count != 0) return count;
    PluginHost* host = host_;  // read before the object goes
    Plugin* self = this;
    if (host) host->beforePluginDestroyed(self);
    delete self;
    if (host) host->afterPluginDestroyed(self);
    return 0;
  }

  virtual std::int32_t getReferenceCount() const { return refCount_; }
  virtual std::uint32_t getReservedWord() const { return reservedWord_; }
  virtual PluginHost* getHost() const { return host_; }

  /// Stores the part of this object that implements `id` through `out` and answers
  /// QUERY_INTERFACE_OK, or stores null and answers QUERY_INTERFACE_UNKNOWN. The part
  /// carries no reference of its own: it is valid while the caller holds the plug-in.
  virtual std::int32_t queryInterface(const SimpleString<char>& id, void** out) = 0;

 private:
  std::int32_t refCount_ = 1;
  PluginHost* host_;               // not owned
  std::uint32_t reservedWord_ = 0;  // never changed by the framework
};

}  // namespace Orb
