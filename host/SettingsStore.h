#pragma once
// A settings provider holding typed settings keyed by (kind, group, name). Changing a
// value tells every registered consumer through onSettingChanged.
//
// Threads: any thread may set, read, add or remove. Consumers are called on the thread
// that sets the value, with no store lock held that getSetting needs, so a consumer may
// read settings from its callback (and a component may read them under its own lock).
// removeConsumer waits for a notification in progress, so once it returns the consumer
// is not called again. A consumer must not add or remove consumers while holding a lock
// its own onSettingChanged takes.
//
// Ownership: string and size payloads are the store's and stay valid for the store's
// whole life, also after the setting changes, so a value read on one thread cannot be
// freed under it by a change on another.
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "framework/SettingsProvider.h"

namespace Host {

class SettingsStore : public Orb::SettingsProvider {
 public:
  SettingsStore() = default;
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  void addConsumer(Orb::SettingConsumer* consumer) override;
  void removeConsumer(Orb::SettingConsumer* consumer) override;
  bool getSetting(const Orb::Setting* setting, Orb::PropertyValue* value) override;

  /// Each setter stores the value (tag in brackets), then notifies the consumers.
  void setBool(std::int32_t kind, const std::string& group, const std::string& name,
               bool value);  // [ValueBool]
  void setUInt32(std::int32_t kind, const std::string& group, const std::string& name,
                 std::uint32_t value);  // [ValueUInt32]
  void setString(std::int32_t kind, const std::string& group, const std::string& name,
                 const std::string& text);  // [ValueString]
  /// [ValuePointer] to two 32-bit integers, width then height ("framebuffer"/"size").
  void setSize(std::int32_t kind, const std::string& group, const std::string& name,
               std::int32_t width, std::int32_t height);

  /// Forgets a setting without notifying anyone; false when it was not there.
  bool remove(std::int32_t kind, const std::string& group, const std::string& name);

  std::size_t consumerCount() const;

 private:
  using Key = std::tuple<std::int32_t, std::string, std::string>;

  void store(const Key& key, const Orb::PropertyValue& value);

  mutable std::mutex dataMutex_;  // guards values_ and the payload stores
  std::map<Key, Orb::PropertyValue> values_;
  std::deque<Orb::SimpleString<char>> strings_;           // never shrinks (see above)
  std::deque<std::array<std::int32_t, 2>> sizes_;         // likewise

  // Held while consumers are called and while the list changes; recursive so that a
  // consumer may remove itself from its own callback.
  mutable std::recursive_mutex notifyMutex_;
  std::vector<Orb::SettingConsumer*> consumers_;  // not owned
};

}  // namespace Host
