#include "host/RecordingHost.h"

namespace Host {

void RecordingHost::beforePluginDestroyed(Orb::Plugin* plugin) {
  record(Notice::BeforeDestroyed, plugin);
}

void RecordingHost::afterPluginDestroyed(Orb::Plugin* plugin) {
  record(Notice::AfterDestroyed, plugin);
}

std::vector<RecordingHost::Event> RecordingHost::events() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return events_;
}

void RecordingHost::record(Notice notice, const Orb::Plugin* plugin) {
  std::lock_guard<std::mutex> guard(mutex_);
  events_.push_back(Event{notice, plugin});
}

}  // namespace Host
