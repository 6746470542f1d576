#include "host/SettingsStore.h"

#include <algorithm>

namespace Host {

void SettingsStore::addConsumer(Orb::SettingConsumer* consumer) {
  if (!consumer) return;
  std::lock_guard<std::recursive_mutex> guard(notifyMutex_);
  if (std::find(consumers_.begin(), consumers_.end(), consumer) == consumers_.end())
    consumers_.push_back(consumer);
}

void SettingsStore::removeConsumer(Orb::SettingConsumer* consumer) {
  std::lock_guard<std::recursive_mutex> guard(notifyMutex_);
  consumers_.erase(std::remove(consumers_.begin(), consumers_.end(), consumer), consumers_.end());
}

bool SettingsStore::getSetting(const Orb::Setting* setting, Orb::PropertyValue* value) {
  if (!setting || !value) return false;
  const Key key{setting->kind, std::string(setting->group.c_str(), setting->group.length()),
                std::string(setting->name.c_str(), setting->name.length())};
  std::lock_guard<std::mutex> guard(dataMutex_);
  auto found = values_.find(key);
  if (found == values_.end()) return false;
  *value = found->second;
  return true;
}

void SettingsStore::setBool(std::int32_t kind, const std::string& group, const std::string& name,
                            bool value) {
  store(Key{kind, group, name}, Orb::PropertyValue::makeBool(value));
}

void SettingsStore::setUInt32(std::int32_t kind, const std::string& group,
                              const std::string& name, std::uint32_t value) {
  store(Key{kind, group, name}, Orb::PropertyValue::makeUInt32(value));
}

void SettingsStore::setString(std::int32_t kind, const std::string& group,
                              const std::string& name, const std::string& text) {
  Orb::SimpleString<char>* payload;
  {
    std::lock_guard<std::mutex> guard(dataMutex_);
    strings_.emplace_back(text.c_str());
    payload = &strings_.back();
  }
  store(Key{kind, group, name}, Orb::PropertyValue::makeString(payload));
}

void SettingsStore::setSize(std::int32_t kind, const std::string& group, const std::string& name,
                            std::int32_t width, std::int32_t height) {
  std::array<std::int32_t, 2>* payload;
  {
    std::lock_guard<std::mutex> guard(dataMutex_);
    sizes_.push_back({width, height});
    payload = &sizes_.back();
  }
  store(Key{kind, group, name}, Orb::PropertyValue::makePointer(payload->data()));
}

bool SettingsStore::remove(std::int32_t kind, const std::string& group, const std::string& name) {
  std::lock_guard<std::mutex> guard(dataMutex_);
  return values_.erase(Key{kind, group, name}) != 0;
}

std::size_t SettingsStore::consumerCount() const {
  std::lock_guard<std::recursive_mutex> guard(notifyMutex_);
  return consumers_.size();
}

void SettingsStore::store(const Key& key, const Orb::PropertyValue& value) {
  {
    std::lock_guard<std::mutex> guard(dataMutex_);
    values_[key] = value;
  }
  const Orb::Setting setting(std::get<0>(key), std::get<1>(key).c_str(), std::get<2>(key).c_str());
  std::lock_guard<std::recursive_mutex> guard(notifyMutex_);
  // A copy, so that a consumer may remove itself (or another) from its callback.
  const std::vector<Orb::SettingConsumer*> snapshot = consumers_;
  for (Orb::SettingConsumer* consumer : snapshot) {
    if (std::find(consumers_.begin(), consumers_.end(), consumer) == consumers_.end()) continue;
    consumer->onSettingChanged(&setting, &value);
  }
}

}  // namespace Host
