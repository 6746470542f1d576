#include "tools/FrameCompositor.h"

#include <gtest/gtest.h>

namespace QuillRender {
namespace {

RgbaImage solid(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
  RgbaImage image(width, height);
  for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
    image.pixels[i] = r, image.pixels[i + 1] = g, image.pixels[i + 2] = b, image.pixels[i + 3] = a;
  }
  return image;
}

std::vector<std::uint8_t> pixel(const RgbaImage& image, int x, int y) {
  return std::vector<std::uint8_t>(image.at(x, y), image.at(x, y) + 4);
}

TEST(FrameCompositor, AnImageIsCutToThePartInsideTheFrame) {
  RgbaImage image(6, 4);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<std::uint8_t>(i);
  const RgbaImage whole = image;
  int x = -2, y = 7;
  ASSERT_TRUE(cutToFrame(image, x, y, 10, 10));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 7);
  EXPECT_EQ(image.width, 4);
  EXPECT_EQ(image.height, 3);
  EXPECT_TRUE(std::equal(image.at(0, 2), image.at(0, 2) + 16, whole.at(2, 2)));

  RgbaImage inside = whole;
  x = 1, y = 1;
  ASSERT_TRUE(cutToFrame(inside, x, y, 10, 10));
  EXPECT_EQ(inside.pixels, whole.pixels);
  x = 10, y = 0;
  EXPECT_FALSE(cutToFrame(inside, x, y, 10, 10));
  EXPECT_EQ(x, 10) << "left as it was";
}

TEST(FrameCompositor, OverBlendsByAlpha) {
  RgbaImage frame = neutralBackground(4, 1);
  RgbaImage subtitle(3, 1);
  subtitle.pixels = {255, 255, 0, 255, /**/ 0, 0, 0, 0, /**/ 255, 0, 0, 128};
  compositeOver(frame, subtitle, 1, 0);
  EXPECT_EQ(pixel(frame, 0, 0), (std::vector<std::uint8_t>{0x60, 0x60, 0x60, 255}));
  EXPECT_EQ(pixel(frame, 1, 0), (std::vector<std::uint8_t>{255, 255, 0, 255}));
  EXPECT_EQ(pixel(frame, 2, 0), (std::vector<std::uint8_t>{0x60, 0x60, 0x60, 255}));
  // 128/255 of red over 127/255 of grey.
  EXPECT_EQ(pixel(frame, 3, 0), (std::vector<std::uint8_t>{176, 48, 48, 255}));
}

TEST(FrameCompositor, WhatFallsOutsideTheFrameIsCutOff) {
  RgbaImage frame = solid(3, 3, 0, 0, 0, 255);
  const RgbaImage subtitle = solid(3, 3, 255, 255, 255, 255);
  compositeOver(frame, subtitle, -2, 2);  // only its top-right pixel lands, at (0, 2)
  int white = 0;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) white += frame.at(x, y)[0] == 255;
  EXPECT_EQ(white, 1);
  EXPECT_EQ(frame.at(0, 2)[0], 255);
  compositeOver(frame, subtitle, 5, 5);  // entirely outside: nothing, and no stray write
  compositeOver(frame, subtitle, -5, -5);
  EXPECT_EQ(frame.at(1, 1)[0], 0);
}

TEST(FrameCompositor, BackgroundsAreFittedToTheFrame) {
  RgbaImage picture(2, 1);
  picture.pixels = {10, 10, 10, 255, 200, 200, 200, 255};
  const RgbaImage fitted = fitBackground(picture, 4, 2);
  ASSERT_EQ(fitted.width, 4);
  ASSERT_EQ(fitted.height, 2);
  EXPECT_EQ(fitted.at(1, 1)[0], 10);
  EXPECT_EQ(fitted.at(2, 0)[0], 200);
  EXPECT_EQ(fitBackground(RgbaImage(), 2, 2).at(1, 1)[0], kNeutralGrey);
}

}  // namespace
}  // namespace QuillRender
