// Loading a plug-in module by path: what a host is told when the file, its entry or its
// component is missing.
#include <gtest/gtest.h>

#include <string>

#include "host/HostedComponent.h"
#include "host/PluginModule.h"
#include "host/RecordingHost.h"

namespace {

std::unique_ptr<Host::PluginModule> load(const std::string& path, std::string& error) {
  error.clear();
  return Host::PluginModule::open(path, error);
}

TEST(PluginModule, FailuresNameThePathAndTheLoadersReason) {
  std::string error;
  EXPECT_EQ(load("/nonexistent/libQuill.so", error), nullptr);
  EXPECT_NE(error.find("/nonexistent/libQuill.so"), std::string::npos) << error;
  EXPECT_NE(error.find("No such file"), std::string::npos) << error;

  EXPECT_EQ(load(QUILL_TEST_NOT_A_LIBRARY, error), nullptr);  // not a shared library at all
  EXPECT_NE(error.find(QUILL_TEST_NOT_A_LIBRARY), std::string::npos) << error;

  EXPECT_EQ(load(QUILL_TEST_ENTRYLESS_MODULE, error), nullptr);
  EXPECT_NE(error.find(QUILL_TEST_ENTRYLESS_MODULE), std::string::npos) << error;
  EXPECT_NE(error.find("_getPlugin"), std::string::npos) << error;

  // Not the host program itself, which is what the loader answers for an empty name.
  EXPECT_EQ(load("", error), nullptr);
  EXPECT_NE(error.find("no plug-in module path"), std::string::npos) << error;
}

TEST(PluginModule, AModuleThatMakesNoComponentIsReportedNotHosted) {
  std::string error;
  const std::unique_ptr<Host::PluginModule> module = load(QUILL_TEST_REFUSING_MODULE, error);
  ASSERT_NE(module, nullptr) << error;
  Host::RecordingHost host;
  EXPECT_EQ(module->createPlugin(&host), nullptr);
  EXPECT_EQ(Host::HostedComponent::create(*module, host, error), nullptr);
  EXPECT_NE(error.find("made no component"), std::string::npos) << error;
}

}  // namespace
