// Many host threads at once: deliveries, setting changes, style messages and flushes,
// then destruction. Run under ThreadSanitizer to see races; the sample bookkeeping is
// checked here in every build.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "LoadedComponent.h"
#include "framework/MessageCodes.h"

namespace {

using QuillTest::kFrameBuffer;
using QuillTest::kStyle;
using QuillTest::LoadedComponent;

constexpr int kDeliveriesPerThread = 60;
constexpr int kChanges = 60;

struct Delivery {
  std::unique_ptr<Host::SampleBuffer> sample;
  bool accepted = false;
};

TEST(ComponentStress, ConcurrentUseThenDestructionLosesNoSample) {
  auto loaded = std::make_unique<LoadedComponent>();
  loaded->settings.setSize(kFrameBuffer, "framebuffer", "size", 160, 90);  // small images, fast renders
  loaded->wire();

  constexpr int kDeliveringThreads = 3;
  std::vector<std::vector<Delivery>> deliveries(kDeliveringThreads);
  for (auto& list : deliveries) {
    for (int i = 0; i < kDeliveriesPerThread; ++i)
      list.push_back({Host::SampleBuffer::text("<b>line</b> " + std::to_string(i)), false});
  }

  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (auto& list : deliveries) {
    threads.emplace_back([&loaded, &list, &go] {
      while (!go) std::this_thread::yield();
      for (Delivery& delivery : list) delivery.accepted = loaded->deliver(*delivery.sample);
    });
  }
  threads.emplace_back([&loaded, &go] {
    while (!go) std::this_thread::yield();
    for (int i = 0; i < kChanges; ++i) {
      loaded->settings.setUInt32(kStyle, "Color", "Text", i % 2 ? 0xFF0000 : 0x00FF00);
      loaded->settings.setSize(kFrameBuffer, "framebuffer", "size", 160 + i % 3 * 20, 90);
      loaded->settings.setString(kStyle, "Font", "Name", i % 2 ? "Quill Serif:0:" : "Arial:0:Bold:");
    }
  });
  threads.emplace_back([&loaded, &go] {
    while (!go) std::this_thread::yield();
    for (int i = 0; i < kChanges; ++i) {
      const Orb::PropertyValue name = Orb::PropertyValue::makeString(
          new Orb::SimpleString<char>(i % 2 ? "Arial:0:" : "Quill Serif:0:"),
          Orb::ValueStringHandedOver);
      EXPECT_TRUE(loaded->deliverMessage(Orb::MESSAGE_FONT_NAME, &name));
      const Orb::PropertyValue flag = Orb::PropertyValue::makeFlag(i % 3 == 0);
      EXPECT_TRUE(loaded->deliverMessage(Orb::MESSAGE_OVERRIDE_EMBEDDED_FONT, &flag));
    }
  });
  threads.emplace_back([&loaded, &go] {
    while (!go) std::this_thread::yield();
    for (int i = 0; i < kChanges; ++i) {
      loaded->downstream.refuseNext(i % 4 == 0 ? 2 : 0);
      loaded->output->query(Orb::QUERY_READY, nullptr);
      if (i % 5 == 0) loaded->control(Orb::CONTROL_FLUSH);
      std::this_thread::yield();
    }
  });
  go = true;
  for (std::thread& thread : threads) thread.join();

  loaded->downstream.setRefusing(false);
  loaded.reset();  // destroys the component while its worker may still be re-rendering

  int accepted = 0;
  for (const auto& list : deliveries) {
    for (const Delivery& delivery : list) {
      // Taken samples go back exactly once; refused ones stay the host's, never touched.
      EXPECT_EQ(delivery.sample->releaseCount(), delivery.accepted ? 1 : 0);
      accepted += delivery.accepted;
    }
  }
  EXPECT_GT(accepted, 0);
}

}  // namespace
