// Reference counting of the plug-in base and the destruction notices its host relies on.
#include <gtest/gtest.h>

#include "framework/InterfaceIds.h"
#include "framework/Plugin.h"
#include "host/RecordingHost.h"

namespace {

using Notice = Host::RecordingHost::Notice;

// A minimal plug-in that notes its own destruction.
class SamplePlugin : public Orb::Plugin {
 public:
  SamplePlugin(Orb::PluginHost* host, Host::RecordingHost* witness, bool* destroyed)
      : Plugin(host), witness_(witness), destroyed_(destroyed) {}
  ~SamplePlugin() override {
    // The host must have been told before this runs, and not yet after.
    if (witness_) eventsAtDestruction = witness_->events().size();
    *destroyed_ = true;
  }

  std::int32_t queryInterface(const Orb::SimpleString<char>&, void** out) override {
    *out = nullptr;
    return Orb::QUERY_INTERFACE_UNKNOWN;
  }

  static inline std::size_t eventsAtDestruction = 0;

 private:
  Host::RecordingHost* witness_;
  bool* destroyed_;
};

TEST(Plugin, LastReleaseTellsAnyHostAroundTheDeletion) {
  Host::RecordingHost host;
  bool destroyed = false;
  auto* plugin = new SamplePlugin(&host, &host, &destroyed);
  const Orb::Plugin* identity = plugin;

  EXPECT_EQ(plugin->getReferenceCount(), 1);
  EXPECT_EQ(plugin->retain(), 2);
  EXPECT_EQ(plugin->release(), 1);
  EXPECT_FALSE(destroyed);
  EXPECT_TRUE(host.events().empty());

  EXPECT_EQ(plugin->release(), 0);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(SamplePlugin::eventsAtDestruction, 1u);
  const std::vector<Host::RecordingHost::Event> expected{{Notice::BeforeDestroyed, identity},
                                                         {Notice::AfterDestroyed, identity}};
  EXPECT_EQ(host.events(), expected);

  destroyed = false;  // without a host to tell, the last release still deletes
  EXPECT_EQ((new SamplePlugin(nullptr, nullptr, &destroyed))->release(), 0);
  EXPECT_TRUE(destroyed);
}

}  // namespace
