// Samples a stranger's file can produce, and a host whose allocator has no buffer to give.
// Each gets a defined answer; the sample stays the host's unless it was delivered, no
// buffer is left taken, and the component goes on working.
#include <gtest/gtest.h>

#include <string>

#include "FaultScene.h"
#include "LoadedComponent.h"
#include "framework/MessageCodes.h"

namespace {

using QuillTest::boxWidth;
using QuillTest::FaultScene;
using QuillTest::kStyle;
using QuillTest::LoadedComponent;

std::unique_ptr<Host::SampleBuffer> bytesSample(const std::string& bytes) {
  return std::make_unique<Host::SampleBuffer>(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

// UTF-16 text in native order, with `extra` bytes after it.
std::unique_ptr<Host::SampleBuffer> wideSample(const std::u16string& text, const std::string& extra = "") {
  std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
  return bytesSample(bytes + extra);
}

class WideInput : public ::testing::Test {
 protected:
  void SetUp() override { loaded.wire("WSTR"); }

  // Width of the image `text` gives, or -1 when nothing was delivered.
  int widthOf(std::unique_ptr<Host::SampleBuffer> sample) {
    if (!loaded.deliver(loaded.keep(std::move(sample)))) return -1;
    return boxWidth(loaded.downstream.images().back());
  }

  // Delivers what must be refused, then checks the sample and buffers are as they were
  // and the component still renders.
  void expectRefusedCleanly(std::unique_ptr<Host::SampleBuffer> sample) {
    Host::SampleBuffer& refused = loaded.keep(std::move(sample));
    const std::size_t images = loaded.downstream.images().size();
    EXPECT_FALSE(loaded.deliver(refused));
    EXPECT_EQ(loaded.downstream.images().size(), images);
    EXPECT_LE(refused.releaseCount(), 1);
    EXPECT_EQ(loaded.allocator.outstandingBuffers(), 0u);
    EXPECT_GT(widthOf(wideSample(u"next")), 0) << "the component goes on";
  }

  FaultScene scene;
  LoadedComponent loaded;
};

TEST_F(WideInput, EmptyAndShorterThanOneUnitAreRefused) {
  expectRefusedCleanly(wideSample(u""));
  expectRefusedCleanly(wideSample(u"", "\x41"));
  expectRefusedCleanly(wideSample(std::u16string(1, u'\0')));
}

TEST_F(WideInput, OddByteAtTheEndIsNotRead) {
  const int whole = widthOf(wideSample(u"odd"));
  ASSERT_GT(whole, 0);
  EXPECT_EQ(widthOf(wideSample(u"odd", "\x57")), whole);
}

// The wide text is carried on leniently, then decoded strictly: a lone surrogate
// anywhere makes the subtitle empty, so nothing is drawn for it.
TEST_F(WideInput, UnpairedSurrogatesRenderNothing) {
  expectRefusedCleanly(wideSample(u"end \xD800"));
  expectRefusedCleanly(wideSample(u"middle \xDC00 here"));
  expectRefusedCleanly(wideSample(u"high \xD83D then letter"));
  expectRefusedCleanly(wideSample(u"reversed \xDE00\xD83D pair"));
  EXPECT_GT(widthOf(wideSample(u"paired \xD83D\xDE00 is fine")), 0);
}

TEST(TextInput, EmptySampleIsGivenBackOnceAndNothingDrawn) {
  FaultScene scene;
  LoadedComponent loaded;
  loaded.wire();
  Host::SampleBuffer& empty = loaded.keep(bytesSample(""));
  EXPECT_FALSE(loaded.deliver(empty));
  EXPECT_EQ(empty.releaseCount(), 1);
  EXPECT_TRUE(loaded.downstream.images().empty());
  EXPECT_EQ(loaded.allocator.outstandingBuffers(), 0u);
}

TEST(NoBuffer, RefusedWhileTheAllocatorHasNoneThenWorksAgain) {
  FaultScene scene;
  LoadedComponent loaded;
  loaded.wire();
  Host::SampleBuffer& shown = loaded.keep(Host::SampleBuffer::text("shown"));
  ASSERT_TRUE(loaded.deliver(shown));

  loaded.allocator.setRefusing(true);
  Host::SampleBuffer& starved = loaded.keep(Host::SampleBuffer::text("starved"));
  EXPECT_FALSE(loaded.deliver(starved));
  EXPECT_EQ(starved.releaseCount(), 0) << "never delivered: still the host's";
  EXPECT_EQ(shown.releaseCount(), 0) << "still the retained one";
  // The worker's re-render finds no buffer either and gives up.
  loaded.settings.setUInt32(kStyle, "Color", "Text", 0x00FF00);
  EXPECT_EQ(loaded.downstream.images().size(), 1u);

  loaded.allocator.setRefusing(false);
  EXPECT_TRUE(loaded.deliver(starved));
  EXPECT_EQ(shown.releaseCount(), 1);
  EXPECT_TRUE(loaded.control(Orb::CONTROL_FLUSH));
  EXPECT_EQ(starved.releaseCount(), 1);
}

}  // namespace
