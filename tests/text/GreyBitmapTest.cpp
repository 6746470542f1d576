#include "text/GreyBitmap.h"

#include <vector>

#include <gtest/gtest.h>

using Orb::GreyBitmap;

namespace {

class GreyBitmapConversion : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(FT_Init_FreeType(&library), 0); }
  void TearDown() override { FT_Done_FreeType(library); }

  FT_Bitmap bitmap(unsigned char mode, unsigned width, unsigned rows, int pitch,
                   std::vector<unsigned char>& bytes) {
    FT_Bitmap b{};
    b.pixel_mode = mode;
    b.width = width;
    b.rows = rows;
    b.pitch = pitch;
    b.buffer = bytes.data();
    b.num_grays = mode == FT_PIXEL_MODE_GRAY ? 256 : 0;
    return b;
  }

  FT_Library library = nullptr;
};

// Embedded strikes of 2 bits per pixel used to be read as 8-bit rows: this bitmap is
// 9 bytes long and such a read would take 27.
TEST_F(GreyBitmapConversion, TwoBitRowsAreReadWithinTheirPitch) {
  std::vector<unsigned char> bytes = {0x1B, 0x00, 0xC0,   // levels 0 1 2 3 | 0 0 0 0 | 3
                                      0xFF, 0xFF, 0xC0,
                                      0x00, 0x00, 0x40};
  GreyBitmap converted;
  ASSERT_TRUE(converted.convert(library, bitmap(FT_PIXEL_MODE_GRAY2, 9, 3, 3, bytes)));
  ASSERT_EQ(converted.width(), 9u);
  ASSERT_EQ(converted.height(), 3u);
  EXPECT_FALSE(converted.fromMono());
  EXPECT_EQ(converted.at(0, 0), 0);
  EXPECT_EQ(converted.at(0, 1), 85);
  EXPECT_EQ(converted.at(0, 2), 170);
  EXPECT_EQ(converted.at(0, 3), 255);
  EXPECT_EQ(converted.at(0, 8), 255);
  EXPECT_EQ(converted.at(1, 7), 255);
  EXPECT_EQ(converted.at(2, 8), 85);
}

TEST_F(GreyBitmapConversion, FourBitAndMonoBecomeFullRangeCoverage) {
  std::vector<unsigned char> nibbles = {0x0F, 0x80};
  GreyBitmap four;
  ASSERT_TRUE(four.convert(library, bitmap(FT_PIXEL_MODE_GRAY4, 3, 1, 2, nibbles)));
  EXPECT_EQ(four.at(0, 0), 0);
  EXPECT_EQ(four.at(0, 1), 255);
  EXPECT_EQ(four.at(0, 2), 136);

  std::vector<unsigned char> bits = {0xA0, 0x00, 0x40, 0x00};
  GreyBitmap mono;
  ASSERT_TRUE(mono.convert(library, bitmap(FT_PIXEL_MODE_MONO, 3, 2, 2, bits)));
  EXPECT_TRUE(mono.fromMono());
  EXPECT_EQ(mono.at(0, 0), 255);
  EXPECT_EQ(mono.at(0, 1), 0);
  EXPECT_EQ(mono.at(0, 2), 255);
  EXPECT_EQ(mono.at(1, 1), 255);
}

TEST_F(GreyBitmapConversion, UpwardFlowPutsTheLastMemoryRowOnTop) {
  std::vector<unsigned char> rows = {1, 2, 0, 0, 3, 4, 0, 0};  // padded rows, bottom first
  GreyBitmap grey;
  ASSERT_TRUE(grey.convert(library, bitmap(FT_PIXEL_MODE_GRAY, 2, 2, -4, rows)));
  EXPECT_EQ(grey.at(0, 0), 3);
  EXPECT_EQ(grey.at(1, 1), 2);
}

TEST_F(GreyBitmapConversion, UnknownModesAndMissingBuffersAreRefused) {
  std::vector<unsigned char> bytes(16, 0xFF);
  GreyBitmap grey;
  EXPECT_FALSE(grey.convert(library, bitmap(99, 2, 2, 2, bytes)));
  FT_Bitmap noBuffer = bitmap(FT_PIXEL_MODE_GRAY, 2, 2, 2, bytes);
  noBuffer.buffer = nullptr;
  EXPECT_FALSE(grey.convert(library, noBuffer));
  EXPECT_TRUE(grey.convert(library, bitmap(FT_PIXEL_MODE_GRAY, 0, 0, 0, bytes)));
  EXPECT_EQ(grey.width(), 0u);
}

}  // namespace
