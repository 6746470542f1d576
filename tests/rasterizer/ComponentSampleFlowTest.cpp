// Who owns which sample when, style messages and the worker's re-rendering.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "LoadedComponent.h"
#include "framework/MessageCodes.h"
#include "platform/Sleep.h"

namespace {

using namespace QuillTest;
using namespace std::chrono_literals;

std::size_t indexOf(const std::vector<std::uint32_t>& messages, std::uint32_t code, std::size_t from) {
  for (std::size_t i = from; i < messages.size(); ++i) {
    if (messages[i] == code) return i;
  }
  return messages.size();
}

TEST(ComponentSampleFlow, RetainsTheLastDeliveredSampleUntilReplacedOrFlushed) {
  LoadedComponent loaded;
  loaded.wire();
  Host::SampleBuffer& first = loaded.deliverText("first");
  ASSERT_TRUE(loaded.deliver(first));
  EXPECT_EQ(first.releaseCount(), 0) << "the same sample again is not given back";
  Host::SampleBuffer& second = loaded.deliverText("second");
  EXPECT_EQ(first.releaseCount(), 1);
  EXPECT_EQ(second.releaseCount(), 0);
  EXPECT_TRUE(loaded.control(Orb::CONTROL_FLUSH));
  EXPECT_EQ(second.releaseCount(), 1);
  EXPECT_TRUE(loaded.control(Orb::CONTROL_DISCARD));
  EXPECT_EQ(second.releaseCount(), 1);
}

TEST(ComponentSampleFlow, RefusedSampleStaysTheHosts) {
  LoadedComponent loaded;
  loaded.wire();
  Host::SampleBuffer& kept = loaded.deliverText("kept");
  loaded.downstream.refuseNext(1);
  Host::SampleBuffer& refused = loaded.deliverText("refused", false);
  EXPECT_EQ(kept.releaseCount(), 0) << "still the retained one";
  EXPECT_TRUE(loaded.control(Orb::CONTROL_DISCONNECT));
  EXPECT_EQ(kept.releaseCount(), 1);
  EXPECT_EQ(refused.releaseCount(), 0);
  EXPECT_FALSE(loaded.deliver(refused)) << "no renderer after a disconnect";
}

TEST(ComponentSampleFlow, EmptySampleIsGivenBackOnceEvenWhenRetained) {
  LoadedComponent loaded;
  loaded.wire();
  Host::SampleBuffer& empty = loaded.deliverText("", false);
  EXPECT_EQ(empty.releaseCount(), 1);

  Host::SampleBuffer& sample = loaded.deliverText("soon empty");
  sample.length = 0;
  EXPECT_FALSE(loaded.deliver(sample));
  EXPECT_EQ(sample.releaseCount(), 1);
  EXPECT_TRUE(loaded.control(Orb::CONTROL_FLUSH));
  loaded.destroy();
  EXPECT_EQ(sample.releaseCount(), 1);
}

TEST(ComponentSampleFlow, LengthBeyondTheBlockIsNotRead) {
  LoadedComponent loaded;
  loaded.wire();
  Host::SampleBuffer& sample = loaded.keep(Host::SampleBuffer::text("Hello"));
  sample.length = 4096;  // claims far more than its block holds
  EXPECT_TRUE(loaded.deliver(sample));
}

TEST(ComponentSampleFlow, RefusesSamplesWithoutBufferAndUnknownMessages) {
  LoadedComponent loaded;
  loaded.wire();
  loaded.allocator.setRefusing(true);
  Host::SampleBuffer& sample = loaded.deliverText("no buffer", false);
  EXPECT_EQ(sample.releaseCount(), 0);
  EXPECT_TRUE(loaded.downstream.images().empty());
  EXPECT_FALSE(loaded.deliverMessage(0x12345678, nullptr));
  EXPECT_FALSE(loaded.deliverMessage(Orb::MESSAGE_SAMPLE, nullptr));
}

// Hands out buffers that are smaller than they claim, to see that the component checks
// before it writes.
class ShortBufferAllocator : public Orb::BufferAllocator {
 public:
  enum class Flaw { NarrowStride, ShortBlock };
  explicit ShortBufferAllocator(Flaw flaw) : flaw_(flaw) {}

  bool setBitsPerPixel(std::int32_t bits) override { return real.setBitsPerPixel(bits); }

  Orb::ImageBuffer* getBuffer(std::uint32_t width, std::uint32_t height,
                              std::uint32_t planes) override {
    last = real.getBuffer(width, height, planes);
    if (!last) return last;
    if (flaw_ == Flaw::NarrowStride) {
      last->properties.stride = static_cast<std::int32_t>(width) - 1;
    } else {
      std::uint8_t* block = last->lockData();
      last->setData(block, last->size - 4);
      last->unlockData();
    }
    return last;
  }

  Host::HostBufferAllocator real;
  Orb::ImageBuffer* last = nullptr;

 private:
  Flaw flaw_;
};

TEST(ComponentSampleFlow, BufferTooSmallForTheCanvasIsNotTouched) {
  for (const auto flaw : {ShortBufferAllocator::Flaw::NarrowStride, ShortBufferAllocator::Flaw::ShortBlock}) {
    ShortBufferAllocator shortBuffers(flaw);
    LoadedComponent loaded;
    loaded.wire();
    const Orb::PropertyValue source = Orb::PropertyValue::makePointer(&shortBuffers);
    ASSERT_TRUE(loaded.control(Orb::CONTROL_SET_ALLOCATOR, &source));
    loaded.deliverText("Hello", false);
    ASSERT_NE(shortBuffers.last, nullptr);
    const std::uint8_t* block = shortBuffers.last->lockData();
    int written = 0;
    for (std::uint32_t i = 0; i < shortBuffers.last->size; ++i) written += block[i] != 0;
    shortBuffers.last->unlockData();
    EXPECT_EQ(written, 0);
    EXPECT_TRUE(loaded.downstream.images().empty());
  }
}

TEST(ComponentSampleFlow, FontNameMessageFlushesThenRerendersInTheNewStyle) {
  LoadedComponent loaded;
  loaded.wire();
  Host::SampleBuffer& sample = loaded.deliverText("Hello World");
  const int arialWidth = boxWidth(loaded.image(0));
  const std::size_t before = loaded.downstream.messages().size();

  // Handed over: the component destroys the string (a leak shows under the sanitizer).
  const Orb::PropertyValue name = Orb::PropertyValue::makeString(
      new Orb::SimpleString<char>("Quill Serif:0:::"), Orb::ValueStringHandedOver);
  EXPECT_TRUE(loaded.deliverMessage(Orb::MESSAGE_FONT_NAME, &name));
  ASSERT_TRUE(loaded.downstream.waitForImages(2, 10s));
  EXPECT_EQ(loaded.downstream.flushCount(), 1);
  const std::vector<std::uint32_t> messages = loaded.downstream.messages();
  const std::size_t flush = indexOf(messages, Orb::CONTROL_FLUSH, before);
  EXPECT_LT(flush, indexOf(messages, Orb::MESSAGE_SAMPLE, before));
  EXPECT_NE(boxWidth(loaded.image(1)), arialWidth);
  EXPECT_EQ(sample.releaseCount(), 0);

  // A text that names no family changes nothing, yet the message is taken.
  const Orb::PropertyValue unparsable = Orb::PropertyValue::makeString(
      new Orb::SimpleString<char>("Georgia"), Orb::ValueStringHandedOver);
  EXPECT_TRUE(loaded.deliverMessage(Orb::MESSAGE_FONT_NAME, &unparsable));
  EXPECT_EQ(loaded.downstream.flushCount(), 1);

  Orb::SimpleString<char> kept("Arial:0:");
  const Orb::PropertyValue wrongTag = Orb::PropertyValue::makeString(&kept, Orb::ValueString);
  EXPECT_FALSE(loaded.deliverMessage(Orb::MESSAGE_FONT_NAME, &wrongTag));
}

TEST(ComponentSampleFlow, OverrideMessageFlushesThenRerenders) {
  LoadedComponent loaded;
  loaded.wire();
  loaded.deliverText("Hello World");
  const Orb::PropertyValue on = Orb::PropertyValue::makeFlag(true);
  EXPECT_TRUE(loaded.deliverMessage(Orb::MESSAGE_OVERRIDE_EMBEDDED_FONT, &on));
  ASSERT_TRUE(loaded.downstream.waitForImages(2, 10s));
  EXPECT_EQ(loaded.downstream.flushCount(), 1);
  const Orb::PropertyValue wrongTag = Orb::PropertyValue::makeBool(true);
  EXPECT_FALSE(loaded.deliverMessage(Orb::MESSAGE_OVERRIDE_EMBEDDED_FONT, &wrongTag));
}

TEST(ComponentSampleFlow, WorkerDrawsAColourChangeRetryingUntilDownstreamAccepts) {
  LoadedComponent loaded;
  loaded.wire();
  Host::SampleBuffer& sample = loaded.deliverText("Hello World");
  loaded.downstream.refuseNext(3);
  loaded.settings.setUInt32(kStyle, "Color", "Text", 0xFF8000);
  ASSERT_TRUE(loaded.downstream.waitForImages(2, 10s));
  EXPECT_EQ(loaded.downstream.refusedCount(), 3);
  EXPECT_EQ(sample.releaseCount(), 0);
  const Image image = loaded.image(1);
  EXPECT_GT(countPixels(image, {255, 128, 0, 255}), 50);
  EXPECT_EQ(countPixels(image, {255, 255, 0, 255}), 0);
}

TEST(ComponentSampleFlow, WorkerTellsTheCurrentFrameBeforeRerenderingInANewOne) {
  LoadedComponent loaded;
  loaded.wire();
  loaded.deliverText("Hello World");
  const std::size_t told = loaded.downstream.imageProperties().size();
  loaded.settings.setSize(kFrameBuffer, "framebuffer", "size", 1920, 1080);  // pending until a render
  loaded.settings.setUInt32(kStyle, "Color", "Text", 0xFF8000);
  ASSERT_TRUE(loaded.downstream.waitForImages(2, 10s));
  const std::vector<Orb::ImageProperties> frames = loaded.downstream.imageProperties();
  ASSERT_EQ(frames.size(), told + 2);
  EXPECT_EQ(frames[told].width, frames[told - 1].width);  // the frame it had
  EXPECT_EQ(frames[told + 1].width, 1921);                // then the one it renders in
  EXPECT_EQ(frames[told + 1].height, 1081);
}

// Stops the component's worker where its re-render loop yields between two refused tries,
// with the component unlocked, so that the test can act there as a host thread would; then
// lets it go on. The worker yields through the platform layer's sleep, which this program
// shares with the component it links.
class WorkerPause {
 public:
  WorkerPause() : testThread(std::this_thread::get_id()) {
    current = this;
    previous = Platform::setSleepFunction(&pauseOnYield);
  }
  ~WorkerPause() {
    resume();  // never leave the worker waiting, even when the test failed early
    Platform::setSleepFunction(previous);
    current = nullptr;
  }
  WorkerPause(const WorkerPause&) = delete;
  WorkerPause& operator=(const WorkerPause&) = delete;

  /// Waits for the worker's first yield; false when it does not come within 10 s.
  bool reached() { return yielded.get_future().wait_for(10s) == std::future_status::ready; }
  void resume() {
    if (!resumed.exchange(true)) release.set_value();
  }

 private:
  static void pauseOnYield(std::uint32_t milliseconds) {
    WorkerPause* pause = current;
    if (!pause) return std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    if (milliseconds != 0 || std::this_thread::get_id() == pause->testThread || pause->paused.exchange(true))
      return pause->previous(milliseconds);
    // A copy of its own keeps the shared state alive should the pause end while it wakes.
    const std::shared_future<void> released = pause->releasedFuture;
    pause->yielded.set_value();
    released.wait_for(10s);
  }

  static inline std::atomic<WorkerPause*> current{nullptr};
  const std::thread::id testThread;
  Platform::SleepFunction previous = nullptr;
  std::atomic<bool> paused{false};
  std::atomic<bool> resumed{false};
  std::promise<void> yielded;
  std::promise<void> release;
  std::shared_future<void> releasedFuture = release.get_future().share();
};

// The worker retries a refused re-render of the retained sample while the host delivers a
// sample downstream refuses too: that one stays the host's.
TEST(ComponentSampleFlow, WorkerNeverAdoptsASampleTheHostStillOwns) {
  LoadedComponent loaded;
  loaded.wire();
  Host::SampleBuffer& retained = loaded.deliverText("retained");
  Host::SampleBuffer& refused = loaded.keep(Host::SampleBuffer::text("refused by downstream"));
  {
    WorkerPause pause;
    loaded.downstream.setRefusing(true);
    loaded.settings.setUInt32(kStyle, "Color", "Text", 0x00FF00);
    ASSERT_TRUE(pause.reached());
    EXPECT_FALSE(loaded.deliver(refused));
    loaded.downstream.setRefusing(false);
    pause.resume();
    ASSERT_TRUE(loaded.downstream.waitForImages(2, 10s));
  }
  EXPECT_EQ(boxWidth(loaded.image(1)), boxWidth(loaded.image(0))) << "not the retained text";
  loaded.destroy();
  EXPECT_EQ(refused.releaseCount(), 0);
  EXPECT_EQ(retained.releaseCount(), 1);
}

// The host replaces the retained sample while the worker waits to retry it: the worker
// lets the old one go instead of taking back what was already given back.
TEST(ComponentSampleFlow, WorkerDropsARetrySampleReplacedMeanwhile) {
  LoadedComponent loaded;
  loaded.wire();
  Host::SampleBuffer& first = loaded.deliverText("first");
  Host::SampleBuffer* second = nullptr;
  {
    WorkerPause pause;
    loaded.downstream.setRefusing(true);
    loaded.settings.setUInt32(kStyle, "Color", "Text", 0x00FF00);
    ASSERT_TRUE(pause.reached());
    loaded.downstream.setRefusing(false);
    second = &loaded.deliverText("second");
    EXPECT_EQ(first.releaseCount(), 1);
  }
  loaded.destroy();  // joins the worker
  EXPECT_EQ(first.releaseCount(), 1);
  EXPECT_EQ(second->releaseCount(), 1);
  EXPECT_EQ(loaded.downstream.images().size(), 2u);
}

TEST(ComponentSampleFlow, WorkerGivesUpWhenNoBufferCanBeHad) {
  LoadedComponent loaded;
  loaded.wire();
  loaded.deliverText("Hello World");
  loaded.allocator.setRefusing(true);
  const std::size_t before = loaded.allocator.requests().size();
  loaded.settings.setUInt32(kStyle, "Color", "Text", 0x00FF00);
  std::this_thread::sleep_for(200ms);
  EXPECT_LE(loaded.allocator.requests().size(), before + 1) << "one try, not a spin";
}

}  // namespace
