// Samples as an upstream host sends them; the release count is what tests use to catch
// a component that gives a sample back twice.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/SampleBuffer.h"

namespace {

TEST(SampleBuffer, TextSamplesOwnTheirBytesAndCountEveryRelease) {
  std::string text = "<b>Hello</b>";
  auto sample = Host::SampleBuffer::text(text);
  text.assign(text.size(), 'x');  // the sample keeps its own copy
  EXPECT_EQ(sample->length, 12u);
  EXPECT_EQ(std::memcmp(sample->lockData(), "<b>Hello</b>", 12), 0);
  sample->unlockData();
  EXPECT_TRUE(sample->getTypeName().empty());
  sample->release();
  sample->release();
  EXPECT_EQ(sample->releaseCount(), 2);
  EXPECT_EQ(sample->length, 12u);  // still whole: releasing does not free

  auto wide = Host::SampleBuffer::wideText(u"H\u00e9");
  EXPECT_EQ(wide->length, 4u);
  char16_t second = 0;
  std::memcpy(&second, wide->lockData() + 2, sizeof second);
  wide->unlockData();
  EXPECT_EQ(second, u'\u00e9');
  EXPECT_EQ(Host::SampleBuffer::text("")->length, 0u);
}

TEST(SampleBuffer, FontsArriveAsTypedSampleOrAttachment) {
  auto font = Host::SampleBuffer::font({1, 2, 3});
  EXPECT_TRUE(font->hasTypeName("FONT"));
  EXPECT_EQ(font->length, 3u);
  auto attachment = Host::SampleBuffer::fontAttachment({1, 2, 3, 4});
  EXPECT_TRUE(attachment->hasCode("FONT"));
  EXPECT_EQ(attachment->word4, 4u);
  EXPECT_FALSE(attachment->hasTypeName("FONT"));
}

}  // namespace
