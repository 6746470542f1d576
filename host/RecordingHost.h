#pragma once
// A host object that keeps, in order, every destruction notice its plug-ins send.
// Thread-safe: a plug-in may be released on any thread.
#include <mutex>
#include <vector>

#include "framework/PluginHost.h"

namespace Host {

class RecordingHost : public Orb::PluginHost {
 public:
  enum class Notice { BeforeDestroyed, AfterDestroyed };

  struct Event {
    Notice notice;
    const Orb::Plugin* plugin;  ///< an identity only: after AfterDestroyed it is freed
    bool operator==(const Event& other) const {
      return notice == other.notice && plugin == other.plugin;
    }
  };

  void beforePluginDestroyed(Orb::Plugin* plugin) override;
  void afterPluginDestroyed(Orb::Plugin* plugin) override;

  /// Every notice so far, oldest first.
  std::vector<Event> events() const;

 private:
  void record(Notice notice, const Orb::Plugin* plugin);

  mutable std::mutex mutex_;
  std::vector<Event> events_;
};

}  // namespace Host
