// What the component draws and where it places it, checked on the delivered pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "LoadedComponent.h"
#include "framework/MessageCodes.h"

namespace {

using namespace QuillTest;
using namespace std::chrono_literals;
using Frame = std::pair<std::int32_t, std::int32_t>;

const char* const kText = "Hello World";

// Renders kText once on a fresh component configured by `configure`.
Image renderedWith(const std::function<void(LoadedComponent&)>& configure, const char* format = "RGBA") {
  LoadedComponent loaded;
  configure(loaded);
  loaded.wire("UTF8", format);
  loaded.deliverText(kText);
  EXPECT_EQ(loaded.downstream.images().size(), 1u);
  return loaded.image();
}

int widthWithFont(const char* name) {
  return boxWidth(renderedWith([name](LoadedComponent& loaded) { loaded.settings.setString(kStyle, "Font", "Name", name); }));
}

int widthWithFile(const std::string& path) {
  return boxWidth(renderedWith([&path](LoadedComponent& loaded) { loaded.settings.setString(kStyle, "Font", "Path", path); }));
}

// A provider in the manner of hosts that notify consumers while holding the one lock that
// also guards reading, a lock that is not recursive: a consumer that reads a setting from
// inside its notification waits on itself for ever. Here the wait gives up after a second
// and is counted, so such a consumer fails the test instead of hanging it.
class LockingProvider : public Orb::SettingsProvider {
 public:
  void addConsumer(Orb::SettingConsumer* consumer) override {
    Held hold(*this);
    if (hold) consumers.push_back(consumer);
  }
  void removeConsumer(Orb::SettingConsumer* consumer) override {
    Held hold(*this);
    if (hold) consumers.erase(std::remove(consumers.begin(), consumers.end(), consumer), consumers.end());
  }
  bool getSetting(const Orb::Setting* setting, Orb::PropertyValue* value) override {
    Held hold(*this);
    return hold && values.getSetting(setting, value);
  }
  /// Stores the string and tells every consumer, holding the lock throughout.
  void setString(const char* group, const char* name, const std::string& text) {
    Held hold(*this);
    ASSERT_TRUE(hold);
    values.setString(kStyle, group, name, text);  // `values` has no consumers of its own
    const Orb::Setting setting(kStyle, group, name);
    Orb::PropertyValue value;
    values.getSetting(&setting, &value);
    for (Orb::SettingConsumer* consumer : consumers) consumer->onSettingChanged(&setting, &value);
  }
  int waitsOnItself() const { return selfWaits; }

 private:
  class Held {
   public:
    explicit Held(LockingProvider& owner) : provider(owner) {
      std::unique_lock<std::mutex> guard(provider.mutex);
      acquired = provider.freed.wait_for(guard, 1s, [this] { return !provider.locked; });
      if (acquired) provider.locked = true;
      else ++provider.selfWaits;
    }
    ~Held() {
      if (!acquired) return;
      std::lock_guard<std::mutex> guard(provider.mutex);
      provider.locked = false;
      provider.freed.notify_all();
    }
    explicit operator bool() const { return acquired; }

   private:
    LockingProvider& provider;
    bool acquired = false;
  };

  std::mutex mutex;
  std::condition_variable freed;
  bool locked = false;
  int selfWaits = 0;
  Host::SettingsStore values;
  std::vector<Orb::SettingConsumer*> consumers;
};

int defaultWidth() {
  static const int width = boxWidth(renderedWith([](LoadedComponent&) {}));
  return width;
}

int monoWidth() {
  static const int width = widthWithFile(quillMonoPath());
  return width;
}

TEST(ComponentRendering, DefaultStyleIsYellowWithABlackOutlineInsideTheReportedBox) {
  LoadedComponent loaded;
  loaded.wire();
  loaded.deliverText(kText);
  const Image image = loaded.image();
  EXPECT_GT(countPixels(image, {255, 255, 0, 255}), 50);
  EXPECT_GT(countPixels(image, {0, 0, 0, 255}), 50);

  // The default frame (0, 0, 640, 480) is 641 x 481: text area 576 x 96, canvas half again.
  const std::vector<Host::HostBufferAllocator::Request> requests = loaded.allocator.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].width, 864u);
  EXPECT_EQ(requests[0].height, 144u);
  EXPECT_EQ(requests[0].planes, 1u);
  EXPECT_EQ(loaded.allocator.bitsPerPixel(), 32);
  EXPECT_EQ(loaded.frame(), Frame(641, 481));

  // The region's edges are inclusive, as every RectInt's: it runs from the first drawn
  // column and row to one column and row past the drawn box, which are never drawn.
  const Orb::RectInt& region = image.properties.region;
  const int width = region.width() - 1;
  const int height = region.height() - 1;
  ASSERT_GT(width, 20);
  ASSERT_GT(height, 5);
  EXPECT_LE(region.right, 864);
  EXPECT_LE(region.bottom, 144);
  const auto opaqueAt = [&image](int x, int y) { return image.pixel(x, y)[3] != 0; };
  for (int y = region.top; y <= region.bottom; ++y) {
    EXPECT_FALSE(opaqueAt(region.right, y)) << "the last column is blank";
  }
  for (int x = region.left; x <= region.right; ++x) {
    EXPECT_FALSE(opaqueAt(x, region.bottom)) << "the last row is blank";
  }
  const Orb::RectFloat& placement = image.properties.placement;
  const double left = 320 - width / 2;
  EXPECT_DOUBLE_EQ(placement.left, left / 641.0);
  EXPECT_DOUBLE_EQ(placement.right, (left + width) / 641.0);
  EXPECT_DOUBLE_EQ(placement.top, 0.95 - height / 481.0);
  EXPECT_DOUBLE_EQ(placement.bottom, 0.95);
  for (int y = 0; y < 144; ++y) {
    for (int x = 0; x < 864; ++x) {
      if (x >= region.left && x <= region.right && y >= region.top && y <= region.bottom) continue;
      const std::uint8_t* pixel = image.pixel(x, y);
      ASSERT_NE(pixel, nullptr);
      ASSERT_EQ(pixel[3], 0) << "drawn outside the region at " << x << "," << y;
    }
  }
}

struct ByteOrder {
  const char* format;
  std::uint8_t fill[4];
  std::uint8_t outline[4];
};

class ComponentByteOrder : public testing::TestWithParam<ByteOrder> {};

TEST_P(ComponentByteOrder, ConfiguredColoursAreWrittenInTheNegotiatedOrder) {
  const ByteOrder& order = GetParam();
  const Image image = renderedWith(
      [](LoadedComponent& loaded) {
        loaded.settings.setUInt32(kStyle, "Color", "Text", 0x2080C0);
        loaded.settings.setUInt32(kStyle, "Color", "TextOutline", 0x0000FF);
        loaded.settings.setSize(kFrameBuffer, "framebuffer", "size", 1280, 720);
      },
      order.format);
  EXPECT_GT(countPixels(image, order.fill), 50);
  EXPECT_GT(countPixels(image, order.outline), 50);
}

INSTANTIATE_TEST_SUITE_P(
    AllFormats, ComponentByteOrder,
    testing::Values(ByteOrder{"RGBA", {0x20, 0x80, 0xC0, 0xFF}, {0, 0, 0xFF, 0xFF}},
                    ByteOrder{"ARGB", {0xFF, 0x20, 0x80, 0xC0}, {0xFF, 0, 0, 0xFF}},
                    ByteOrder{"BGRA", {0xC0, 0x80, 0x20, 0xFF}, {0xFF, 0, 0, 0xFF}},
                    ByteOrder{"ABGR", {0xFF, 0xC0, 0x80, 0x20}, {0xFF, 0xFF, 0, 0}}),
    [](const testing::TestParamInfo<ByteOrder>& param) { return std::string(param.param.format); });

TEST(ComponentRendering, ConfiguredFontIsUsedAndAMissingOneFallsBackToPlainArial) {
  EXPECT_NE(widthWithFont("Quill Serif:0:::"), defaultWidth());
  EXPECT_GT(widthWithFont("Arial:0:Bold:"), defaultWidth());
  EXPECT_EQ(widthWithFont("No Such Family:0:Bold:"), defaultWidth()) << "no family, no style";
  EXPECT_NE(monoWidth(), defaultWidth());
  EXPECT_EQ(widthWithFile("/nonexistent/font.ttf"), defaultWidth());
}

TEST(ComponentRendering, FontFileChangeWaitsForTheNextApplyingOfTheSettings) {
  LockingProvider provider;  // outlives the component, which detaches from it when destroyed
  LoadedComponent loaded;
  loaded.wire("UTF8", "RGBA", false);
  ASSERT_TRUE(loaded.component->attach(&provider));
  provider.setString("Font", "Path", quillMonoPath());
  EXPECT_EQ(provider.waitsOnItself(), 0) << "read a setting back from inside its notification";
  loaded.deliverText(kText);
  EXPECT_EQ(boxWidth(loaded.image(0)), defaultWidth());

  const Orb::PropertyValue port = Orb::PropertyValue::makePointer(&loaded.downstream);
  ASSERT_TRUE(loaded.control(Orb::CONTROL_CONNECT, &port));
  loaded.deliverText(kText);
  EXPECT_EQ(boxWidth(loaded.image(1)), monoWidth());
  EXPECT_EQ(provider.waitsOnItself(), 0);
}

TEST(ComponentRendering, FontsArrivingWithTheMediaAreUsed) {
  for (const bool attachment : {false, true}) {
    LoadedComponent loaded;
    loaded.wire();
    Host::SampleBuffer& font = loaded.keep(attachment ? Host::SampleBuffer::fontAttachment(quillMonoBytes())
                                                      : Host::SampleBuffer::font(quillMonoBytes()));
    const Orb::PropertyValue value = Orb::PropertyValue::makePointer(&font);
    EXPECT_TRUE(loaded.deliverMessage(attachment ? Orb::MESSAGE_FONT_ATTACHMENT : Orb::MESSAGE_SAMPLE, &value));
    loaded.deliverText(kText);
    ASSERT_EQ(loaded.downstream.images().size(), 1u);
    EXPECT_EQ(boxWidth(loaded.image()), monoWidth()) << attachment;
    loaded.destroy();
    EXPECT_EQ(font.releaseCount(), 0) << "font samples stay the host's";
  }
}

TEST(ComponentRendering, OverridingTheEmbeddedFontKeepsTheConfiguredFamily) {
  LoadedComponent loaded;
  loaded.settings.setString(kStyle, "Font", "Name", "Arial:0:");
  loaded.settings.setBool(kStyle, "Font", "OverrideEmbedded", true);
  loaded.wire();
  ASSERT_TRUE(loaded.deliver(loaded.keep(Host::SampleBuffer::font(quillMonoBytes()))));
  loaded.deliverText(kText);
  EXPECT_EQ(boxWidth(loaded.image(0)), defaultWidth());

  loaded.settings.setBool(kStyle, "Font", "OverrideEmbedded", false);
  ASSERT_TRUE(loaded.downstream.waitForImages(2, 10s));
  EXPECT_EQ(boxWidth(loaded.image(1)), monoWidth());
}

TEST(ComponentRendering, WideTextRendersLikeItsUtf8) {
  LoadedComponent loaded;
  loaded.wire("WSTR", "RGBA");
  ASSERT_TRUE(loaded.deliver(loaded.keep(Host::SampleBuffer::wideText(u"Hello World"))));
  EXPECT_EQ(boxWidth(loaded.image()), defaultWidth());
}

TEST(ComponentRendering, FrameSizeChangeTakesEffectAtTheNextRender) {
  LoadedComponent loaded;
  loaded.wire();
  loaded.deliverText(kText);
  loaded.settings.setSize(kFrameBuffer, "framebuffer", "size", 1920, 1080);
  EXPECT_EQ(loaded.allocator.requests().size(), 1u);
  loaded.deliverText(kText);
  const std::vector<Host::HostBufferAllocator::Request> requests = loaded.allocator.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].width, 1728u + 864u);  // 1921 * 0.9 = 1728, and half again
  EXPECT_EQ(requests[1].height, 216u + 108u);  // 1081 * 0.2 = 216
  EXPECT_EQ(loaded.frame().first, 1921);
  EXPECT_GT(boxWidth(loaded.image(1)), boxWidth(loaded.image(0)));
}

TEST(ComponentRendering, DownstreamWidthLimitShrinksTheFrame) {
  LoadedComponent loaded;
  loaded.downstream.setMaxWidth(320);
  loaded.wire();
  EXPECT_EQ(loaded.frame(), Frame(320, 481));
  loaded.deliverText("Hi");
  EXPECT_EQ(loaded.allocator.requests().at(0).width, 288u + 144u);
}

class ComponentUnansweredLimit : public testing::TestWithParam<std::optional<std::int32_t>> {};

TEST_P(ComponentUnansweredLimit, KeepsTheFrame) {
  LoadedComponent loaded;
  loaded.downstream.setMaxWidth(GetParam());
  loaded.downstream.setMaxHeight(GetParam());
  loaded.wire();
  loaded.deliverText(kText);
  EXPECT_EQ(loaded.frame(), Frame(641, 481));
  EXPECT_EQ(loaded.allocator.requests().at(0).width, 864u);
  EXPECT_GT(loaded.image().properties.placement.left, 0.0);
  EXPECT_LT(loaded.image().properties.placement.right, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Answers, ComponentUnansweredLimit, testing::Values(std::nullopt, 0, -5, 700));

}  // namespace

namespace {

// The placement's horizontal centre and bottom, in frame fractions.
std::pair<double, double> centreAndBottom(const Image& image) {
  const Orb::RectFloat& placement = image.properties.placement;
  return {(placement.left + placement.right) / 2.0, placement.bottom};
}

TEST(ComponentRendering, LayoutSettingsAreReadAtAttachAndAnUnknownValueKeepsTheCurrent) {
  const Image classic = renderedWith([](LoadedComponent&) {});
  const Image full = renderedWith([](LoadedComponent& loaded) {
    loaded.settings.setString(kStyle, "Layout", "Engine", "full");
  });
  EXPECT_GT(classic.properties.region.left, 100) << "inside the classic canvas's margin";
  EXPECT_EQ(full.properties.region.left, 0) << "the full layout's canvas is the text";
  EXPECT_LT(full.properties.width, classic.properties.width);
  EXPECT_NEAR(centreAndBottom(full).first, 0.5, 1.0 / 641);

  const Image top = renderedWith([](LoadedComponent& loaded) {
    loaded.settings.setString(kStyle, "Layout", "Engine", "full");
    loaded.settings.setUInt32(kStyle, "Layout", "Alignment", 7);
  });
  EXPECT_NEAR(top.properties.placement.left, 0.05, 2.0 / 641);
  EXPECT_LT(top.properties.placement.top, 0.06);

  const Image unknown = renderedWith([](LoadedComponent& loaded) {
    loaded.settings.setString(kStyle, "Layout", "Engine", "fancy");
    loaded.settings.setUInt32(kStyle, "Layout", "Alignment", 10);
  });
  EXPECT_EQ(unknown.properties.region.left, classic.properties.region.left);
  EXPECT_EQ(centreAndBottom(unknown), centreAndBottom(classic));
}

TEST(ComponentRendering, LinesGoDownstreamOnlyToHostsThatAskForThem) {
  for (const bool asked : {false, true}) {
    LoadedComponent loaded;
    if (asked) loaded.settings.setBool(kStyle, "Layout", "Lines", true);
    loaded.wire();
    loaded.deliverText(kText);
    const std::vector<std::uint32_t> codes = loaded.downstream.messages();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Orb::MESSAGE_SUBTITLE_LINES), asked ? 1 : 0)
        << (asked ? "asked" : "not asked");
  }
}

TEST(ComponentRendering, LayoutChangesRenderTheSubtitleAgain) {
  LoadedComponent loaded;
  loaded.wire();
  loaded.deliverText(kText);
  loaded.settings.setString(kStyle, "Layout", "Engine", "full");
  ASSERT_TRUE(loaded.downstream.waitForImages(2, 10s));
  EXPECT_EQ(loaded.image(1).properties.region.left, 0);
  loaded.settings.setUInt32(kStyle, "Layout", "Alignment", 9);
  ASSERT_TRUE(loaded.downstream.waitForImages(3, 10s));
  EXPECT_NEAR(loaded.image(2).properties.placement.right, 0.95, 2.0 / 641);
  loaded.settings.setString(kStyle, "Layout", "Engine", "classic");
  ASSERT_TRUE(loaded.downstream.waitForImages(4, 10s));
  EXPECT_GT(loaded.image(3).properties.region.left, 100);
  EXPECT_NEAR(loaded.image(3).properties.placement.right, 0.95, 2.0 / 641)
      << "the alignment holds for the classic box too";
}

}  // namespace
