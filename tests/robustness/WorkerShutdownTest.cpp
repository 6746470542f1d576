// A downstream that refuses every image keeps the worker retrying; destroying the
// component must still end it at once. Run under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "FaultScene.h"
#include "LoadedComponent.h"

namespace {

using QuillTest::FaultScene;
using QuillTest::kStyle;
using QuillTest::LoadedComponent;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Far above any real stop; only a worker that never looks at its exit command fails it.
constexpr auto kPromptly = 5s;

TEST(RefusingDownstream, DestructionEndsTheRetryingWorkerPromptly) {
  FaultScene scene;
  auto loaded = std::make_unique<LoadedComponent>();
  loaded->wire();
  Host::SampleBuffer& shown = loaded->keep(Host::SampleBuffer::text("<i>retried</i>"));
  ASSERT_TRUE(loaded->deliver(shown));
  loaded->downstream.setRefusing(true);
  loaded->settings.setUInt32(kStyle, "Color", "Text", 0xFF00FF);  // the worker renders again
  const auto waitedFrom = Clock::now();
  while (loaded->downstream.refusedCount() < 3 && Clock::now() - waitedFrom < kPromptly)
    std::this_thread::sleep_for(1ms);
  ASSERT_GE(loaded->downstream.refusedCount(), 3) << "the worker is retrying";
  Host::SampleBuffer& refused = loaded->keep(Host::SampleBuffer::text("host thread too"));
  EXPECT_FALSE(loaded->deliver(refused));

  const auto started = Clock::now();
  Host::HostBufferAllocator& allocator = loaded->allocator;
  loaded->component->detach();
  EXPECT_EQ(loaded->release(), 0);
  const auto took = Clock::now() - started;
  EXPECT_LT(took, kPromptly);
  EXPECT_EQ(shown.releaseCount(), 1) << "the retained sample is given back once";
  EXPECT_EQ(refused.releaseCount(), 0);
  EXPECT_EQ(allocator.outstandingBuffers(), 0u) << "every refused image went back";
  loaded.reset();
}

}  // namespace
