// The settings provider as a component uses it: typed answers, payloads that stay the
// store's, change notices to registered consumers only, and no notice after removal.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "host/SettingsStore.h"

namespace {

bool lookUp(Host::SettingsStore& store, std::int32_t kind, const char* group, const char* name,
            Orb::PropertyValue* value) {
  const Orb::Setting setting(kind, group, name);
  return store.getSetting(&setting, value);
}

struct Notice {
  std::int32_t kind;
  std::string group, name;
  std::uint8_t tag;
  std::uint32_t number;
};

// Records what it is told and, like a component, reads the store back from its callback.
class RecordingConsumer : public Orb::SettingConsumer {
 public:
  explicit RecordingConsumer(Host::SettingsStore* store) : store_(store) {}
  void onSettingChanged(const Orb::Setting* setting, const Orb::PropertyValue* value) override {
    Orb::PropertyValue readBack;
    readBackOk = store_->getSetting(setting, &readBack);  // must not deadlock
    notices.push_back({setting->kind, setting->group.c_str(), setting->name.c_str(), value->tag,
                       value->payload.uint32});
  }
  std::vector<Notice> notices;
  bool readBackOk = false;

 private:
  Host::SettingsStore* store_;
};

TEST(SettingsStore, AnswersTypedValuesByKindGroupAndName) {
  Host::SettingsStore store;
  store.setUInt32(4, "Color", "Text", 0x00FF8000);
  store.setBool(4, "Font", "OverrideEmbedded", true);
  store.setString(4, "Font", "Name", "Georgia:1:Bold::");
  store.setSize(0, "framebuffer", "size", 1920, 1080);

  Orb::PropertyValue value;
  ASSERT_TRUE(lookUp(store, 4, "Color", "Text", &value));
  EXPECT_EQ(value.tag, Orb::ValueUInt32);
  EXPECT_EQ(value.payload.uint32, 0x00FF8000u);

  ASSERT_TRUE(lookUp(store, 4, "Font", "OverrideEmbedded", &value));
  EXPECT_EQ(value.tag, Orb::ValueBool);
  EXPECT_TRUE(value.isSet());

  ASSERT_TRUE(lookUp(store, 4, "Font", "Name", &value));
  EXPECT_EQ(value.tag, Orb::ValueString);
  EXPECT_STREQ(value.payload.string->c_str(), "Georgia:1:Bold::");

  ASSERT_TRUE(lookUp(store, 0, "framebuffer", "size", &value));
  EXPECT_EQ(value.tag, Orb::ValuePointer);
  const auto* size = static_cast<const std::int32_t*>(value.payload.pointer);
  EXPECT_EQ(size[0], 1920);
  EXPECT_EQ(size[1], 1080);
}

TEST(SettingsStore, UnknownSettingLeavesTheValueAloneAndReplacedStringsStayReadable) {
  Host::SettingsStore store;
  store.setUInt32(4, "Color", "Text", 1);
  Orb::PropertyValue value = Orb::PropertyValue::makeUInt32(42);
  EXPECT_FALSE(lookUp(store, 0, "Color", "Text", &value));  // other kind
  EXPECT_FALSE(lookUp(store, 4, "color", "Text", &value));  // case matters
  EXPECT_FALSE(lookUp(store, 4, "Color", "Outline", &value));
  EXPECT_EQ(value.payload.uint32, 42u);

  EXPECT_TRUE(store.remove(4, "Color", "Text"));
  EXPECT_FALSE(lookUp(store, 4, "Color", "Text", &value));

  store.setString(4, "Font", "Name", "Arial:0");
  Orb::PropertyValue before;
  ASSERT_TRUE(lookUp(store, 4, "Font", "Name", &before));
  store.setString(4, "Font", "Name", "Verdana:0");
  EXPECT_STREQ(before.payload.string->c_str(), "Arial:0");  // a reader elsewhere still holds it
}

TEST(SettingsStore, ChangesReachRegisteredConsumersUntilRemoved) {
  Host::SettingsStore store;
  RecordingConsumer first(&store), second(&store);
  store.setUInt32(4, "Color", "Text", 7);  // before anyone listens
  store.addConsumer(&first);
  store.addConsumer(&first);  // registering twice is one registration
  store.addConsumer(&second);
  EXPECT_EQ(store.consumerCount(), 2u);

  store.setUInt32(4, "Color", "TextOutline", 0x123456);
  ASSERT_EQ(first.notices.size(), 1u);
  EXPECT_EQ(first.notices[0].kind, 4);
  EXPECT_EQ(first.notices[0].group, "Color");
  EXPECT_EQ(first.notices[0].name, "TextOutline");
  EXPECT_EQ(first.notices[0].tag, Orb::ValueUInt32);
  EXPECT_EQ(first.notices[0].number, 0x123456u);
  EXPECT_TRUE(first.readBackOk);
  EXPECT_EQ(second.notices.size(), 1u);

  store.removeConsumer(&first);
  store.setBool(4, "Color", "OverrideEmbedded", true);
  EXPECT_EQ(first.notices.size(), 1u);
  EXPECT_EQ(second.notices.size(), 2u);
  EXPECT_EQ(second.notices[1].tag, Orb::ValueBool);
}

// Removes itself from its first notice; must not disturb the others being told.
class OneShotConsumer : public Orb::SettingConsumer {
 public:
  explicit OneShotConsumer(Host::SettingsStore* store) : store_(store) {}
  void onSettingChanged(const Orb::Setting*, const Orb::PropertyValue*) override {
    ++calls;
    store_->removeConsumer(this);
  }
  int calls = 0;

 private:
  Host::SettingsStore* store_;
};

TEST(SettingsStore, ConsumerMayRemoveItselfWhileBeingTold) {
  Host::SettingsStore store;
  OneShotConsumer oneShot(&store);
  RecordingConsumer after(&store);
  store.addConsumer(&oneShot);
  store.addConsumer(&after);
  store.setUInt32(4, "Color", "Text", 1);
  store.setUInt32(4, "Color", "Text", 2);
  EXPECT_EQ(oneShot.calls, 1);
  EXPECT_EQ(after.notices.size(), 2u);
}

// Counts notices and flags any that arrives after its owner said it was removed.
class GuardedConsumer : public Orb::SettingConsumer {
 public:
  void onSettingChanged(const Orb::Setting*, const Orb::PropertyValue*) override {
    if (removed.load()) late = true;
    ++calls;
  }
  std::atomic<bool> removed{false};
  std::atomic<bool> late{false};
  std::atomic<int> calls{0};
};

TEST(SettingsStore, NoNoticeArrivesAfterRemoveReturns) {
  Host::SettingsStore store;
  GuardedConsumer consumer;
  store.addConsumer(&consumer);
  std::atomic<bool> stop{false};
  std::thread setter([&] {
    for (std::uint32_t i = 0; !stop.load(); ++i) store.setUInt32(4, "Color", "Text", i);
  });
  while (consumer.calls.load() < 10) std::this_thread::yield();
  store.removeConsumer(&consumer);
  consumer.removed = true;
  const int callsAtRemoval = consumer.calls.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  stop = true;
  setter.join();
  EXPECT_FALSE(consumer.late.load());
  EXPECT_EQ(consumer.calls.load(), callsAtRemoval);
}

}  // namespace
