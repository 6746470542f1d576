#include "tools/PixelFormat.h"

#include <gtest/gtest.h>

namespace QuillRender {
namespace {

// One pixel written in each byte order from red, green, blue and alpha.
std::vector<std::uint8_t> inFormat(PixelFormat format, std::uint8_t r, std::uint8_t g,
                                   std::uint8_t b, std::uint8_t a) {
  switch (format) {
    case PixelFormat::RGBA: return {r, g, b, a};
    case PixelFormat::ARGB: return {a, r, g, b};
    case PixelFormat::BGRA: return {b, g, r, a};
    case PixelFormat::ABGR: return {a, b, g, r};
  }
  return {};
}

TEST(PixelFormat, NamesRoundTripInAnyCase) {
  for (std::uint32_t i = 0; i < 4; ++i) {
    const auto format = static_cast<PixelFormat>(i);
    EXPECT_EQ(parsePixelFormat(pixelFormatName(format)), format);
  }
  EXPECT_EQ(parsePixelFormat("abgr"), PixelFormat::ABGR);
  EXPECT_FALSE(parsePixelFormat("RGBA "));
  EXPECT_FALSE(parsePixelFormat(""));
}

TEST(PixelFormat, EveryByteOrderGivesTheSameStraightPixels) {
  // Opaque yellow, a half-covered outline edge, and a pixel with colour but no alpha.
  const std::uint8_t pixels[3][4] = {{255, 255, 0, 255}, {64, 32, 0, 128}, {200, 200, 200, 0}};
  for (std::uint32_t i = 0; i < 4; ++i) {
    const auto format = static_cast<PixelFormat>(i);
    std::vector<std::uint8_t> block;
    for (const auto& p : pixels) {
      const auto bytes = inFormat(format, p[0], p[1], p[2], p[3]);
      block.insert(block.end(), bytes.begin(), bytes.end());
    }
    const RgbaImage image = toStraightRgba(block.data(), block.size(), 3, format, {0, 0, 3, 1});
    ASSERT_EQ(image.width, 3);
    const std::vector<std::uint8_t> expected = {255, 255, 0, 255, 128, 64, 0, 128, 0, 0, 0, 0};
    EXPECT_EQ(image.pixels, expected) << pixelFormatName(format);
  }
}

TEST(PixelFormat, RegionIsCutFromTheStridedCanvas) {
  // 4 pixels per row, 3 rows; each pixel's red byte is its index, alpha 255.
  std::vector<std::uint8_t> block;
  for (std::uint8_t i = 0; i < 12; ++i) block.insert(block.end(), {i, 0, 0, 255});
  const RgbaImage image = toStraightRgba(block.data(), block.size(), 4, PixelFormat::RGBA, {1, 1, 2, 2});
  ASSERT_EQ(image.width, 2);
  ASSERT_EQ(image.height, 2);
  EXPECT_EQ(image.at(0, 0)[0], 5);
  EXPECT_EQ(image.at(1, 1)[0], 10);
}

TEST(PixelFormat, ARegionBeyondTheBlockIsClippedNeverRead) {
  std::vector<std::uint8_t> block(4 * 4 * 2, 255);  // 4 pixels by 2 rows
  const RgbaImage wide = toStraightRgba(block.data(), block.size(), 4, PixelFormat::RGBA, {-3, 1, 100, 100});
  EXPECT_EQ(wide.width, 4);
  EXPECT_EQ(wide.height, 1);
  EXPECT_EQ(toStraightRgba(block.data(), block.size(), 4, PixelFormat::RGBA, {4, 0, 1, 1}).width, 0);
  EXPECT_EQ(toStraightRgba(block.data(), block.size(), 0, PixelFormat::RGBA, {0, 0, 1, 1}).width, 0);
  EXPECT_EQ(toStraightRgba(nullptr, 0, 4, PixelFormat::RGBA, {0, 0, 1, 1}).width, 0);
}

}  // namespace
}  // namespace QuillRender
