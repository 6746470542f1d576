#include "text/Compositor.h"

#include <algorithm>
#include <array>
#include <vector>

#include <gtest/gtest.h>


namespace {

// A canvas whose buffer is exactly its size, so that any stray write shows under ASan.
struct TestCanvas {
  TestCanvas(std::uint32_t width, std::uint32_t height, std::uint32_t stride = 0)
      : bytes(static_cast<std::size_t>(stride ? stride : width) * height * 4, 0) {
    canvas = Orb::Canvas{bytes.data(), width, height, stride ? stride : width};
  }
  std::array<std::uint8_t, 4> at(std::uint32_t x, std::uint32_t y) const {
    const std::uint8_t* p = &bytes[(static_cast<std::size_t>(y) * canvas.stride + x) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
  bool untouched() const {
    for (std::uint8_t b : bytes) if (b != 0) return false;
    return true;
  }
  std::vector<std::uint8_t> bytes;
  Orb::Canvas canvas;
};

// A glyph image whose every pixel is (coverage, outline, fill).
Orb::GlyphImage uniformImage(std::uint32_t width, std::uint32_t height, std::uint8_t coverage,
                             std::uint8_t outline, std::uint8_t fill, std::int32_t left = 0,
                             std::int32_t top = 0) {
  Orb::GlyphImage image;
  image.width = width;
  image.height = height;
  image.stride = width * 4;
  image.left = left;
  image.top = top;
  image.advance = static_cast<std::int32_t>(width) + 1;
  for (std::uint32_t i = 0; i < width * height; ++i) {
    image.pixels.insert(image.pixels.end(), {coverage, outline, fill, 0});
  }
  return image;
}

class Compositing : public ::testing::Test {
 protected:
  void SetUp() override {
    style.fill = Orb::Colour{255, 255, 255, 0};
    style.outline = Orb::Colour{0, 0, 0, 0};
    style.lineOffset = -17;  // DejaVu Sans's underline at 200 pixels
  }
  Orb::GlyphPaint style;
  Orb::PixelRect drawn;
};

TEST_F(Compositing, FullBodyPixelIsOpaqueFillInEveryFormat) {
  for (std::uint32_t format = 0; format < 4; ++format) {
    TestCanvas target(4, 4);
    ASSERT_TRUE(Orb::compositeGlyph(style, format, uniformImage(1, 1, 255, 0, 255), 1, 1,
                                    target.canvas, drawn));
    EXPECT_EQ(target.at(1, 1), (std::array<std::uint8_t, 4>{255, 255, 255, 255})) << format;
  }
}

TEST_F(Compositing, ChannelsLandInTheFormatsByteOrder) {
  style.outline = Orb::Colour{200, 100, 0, 0};
  const std::array<std::array<std::uint8_t, 4>, 4> expected = {{
      {50, 25, 0, 128},   // RGBA
      {128, 50, 25, 0},   // ARGB
      {0, 25, 50, 128},   // BGRA
      {128, 0, 25, 50},   // ABGR
  }};
  for (std::uint32_t format = 0; format < 4; ++format) {
    TestCanvas target(2, 2);
    ASSERT_TRUE(Orb::compositeGlyph(style, format, uniformImage(1, 1, 128, 64, 0), 0, 0,
                                    target.canvas, drawn));
    EXPECT_EQ(target.at(0, 0), expected[format]) << format;
  }
}

// Every pair of weights, over a canvas that already holds ink, against the formula: the
// compositor takes shortcuts for empty, pure outline and pure body pixels.
TEST_F(Compositing, EveryWeightPairFollowsTheFormula) {
  style.outline = Orb::Colour{200, 90, 30, 0};
  style.fill = Orb::Colour{40, 250, 120, 0};
  const std::vector<std::uint8_t> weights = {0, 1, 37, 128, 254, 255};
  Orb::GlyphImage image = uniformImage(static_cast<std::uint32_t>(weights.size() * weights.size()), 1, 0, 0, 0);
  for (std::size_t i = 0; i < weights.size() * weights.size(); ++i) {
    image.pixels[i * 4] = static_cast<std::uint8_t>(i * 7);
    image.pixels[i * 4 + 1] = weights[i / weights.size()];
    image.pixels[i * 4 + 2] = weights[i % weights.size()];
  }
  TestCanvas target(image.width, 1);
  std::fill(target.bytes.begin(), target.bytes.end(), std::uint8_t{100});
  ASSERT_TRUE(Orb::compositeGlyph(style, Orb::kBGRA, image, 0, 0, target.canvas, drawn));
  for (std::uint32_t x = 0; x < image.width; ++x) {
    const unsigned o = image.pixels[x * 4 + 1], w = image.pixels[x * 4 + 2];
    auto expect = [&](unsigned outline, unsigned fill) {
      return static_cast<std::uint8_t>(std::max(100u, std::min(255u, o * outline / 255 + w * fill / 255)));
    };
    const std::array<std::uint8_t, 4> expected = {
        expect(30, 120), expect(90, 250), expect(200, 40),
        std::max<std::uint8_t>(100, image.pixels[x * 4])};
    EXPECT_EQ(target.at(x, 0), expected) << "outline " << o << " fill " << w;
  }
}

TEST_F(Compositing, OverlappingGlyphsKeepTheLargerChannel) {
  TestCanvas target(2, 1);
  style.fill = Orb::Colour{255, 0, 0, 0};
  ASSERT_TRUE(Orb::compositeGlyph(style, Orb::kRGBA, uniformImage(1, 1, 200, 0, 255), 0, 0, target.canvas, drawn));
  style.fill = Orb::Colour{0, 0, 255, 0};
  ASSERT_TRUE(Orb::compositeGlyph(style, Orb::kRGBA, uniformImage(1, 1, 100, 0, 128), 0, 0, target.canvas, drawn));
  EXPECT_EQ(target.at(0, 0), (std::array<std::uint8_t, 4>{255, 0, 128, 200}));
}

TEST_F(Compositing, UnderlineIsDarkerAndBelowStrikeOutIsAbove) {
  style.fill = Orb::Colour{255, 128, 8, 0};
  style.underline = true;
  style.strikeOut = true;
  TestCanvas target(40, 48);  // room for the row under the underline
  const Orb::GlyphImage empty = uniformImage(0, 0, 0, 0, 0);
  ASSERT_TRUE(Orb::compositeGlyph(style, Orb::kRGBA, empty, 10, 20, target.canvas, drawn));
  const long d = static_cast<long>(style.lineOffset);
  const std::array<std::uint8_t, 4> line{223, 112, 7, 255};
  for (long row = 20 - d; row < 20 - d + 3; ++row) {
    EXPECT_EQ(target.at(10, static_cast<std::uint32_t>(row)), line) << row;
    EXPECT_EQ(target.at(10, static_cast<std::uint32_t>(row)), target.at(10, 20 - d)) << row;
  }
  EXPECT_EQ(target.at(10, static_cast<std::uint32_t>(20 - d + 3))[3], 0);
  EXPECT_EQ(target.at(10, static_cast<std::uint32_t>(20 + d - 1)), line);
  EXPECT_EQ(target.at(10, static_cast<std::uint32_t>(20 + d - 2)), line);
  EXPECT_EQ(target.at(10, static_cast<std::uint32_t>(20 + d - 3))[3], 0);
  EXPECT_EQ(target.at(10 + empty.advance - 1, static_cast<std::uint32_t>(20 - d))[3], 255);
  EXPECT_EQ(target.at(10 + empty.advance, static_cast<std::uint32_t>(20 - d))[3], 0);

  // Strike-out covers the glyph body; underline is covered by it.
  TestCanvas covered(40, 40);
  style.fill = Orb::Colour{255, 255, 255, 0};
  ASSERT_TRUE(Orb::compositeGlyph(style, Orb::kRGBA, uniformImage(4, 40, 255, 0, 255, 0, 20), 10, 20,
                                  covered.canvas, drawn));
  EXPECT_EQ(covered.at(11, static_cast<std::uint32_t>(20 + d - 1)), (std::array<std::uint8_t, 4>{223, 223, 223, 255}));
  EXPECT_EQ(covered.at(11, static_cast<std::uint32_t>(20 - d)), (std::array<std::uint8_t, 4>{255, 255, 255, 255}));
}

TEST_F(Compositing, GlyphThatDoesNotFitIsRefusedWholeWithItsLines) {
  style.underline = true;
  TestCanvas target(10, 10);
  EXPECT_FALSE(Orb::compositeGlyph(style, Orb::kRGBA, uniformImage(6, 2, 255, 0, 255), 5, 2,
                                   target.canvas, drawn));
  EXPECT_FALSE(Orb::compositeGlyph(style, Orb::kRGBA, uniformImage(2, 9, 255, 0, 255, 0, 0), 0, 2,
                                   target.canvas, drawn));
  EXPECT_TRUE(target.untouched());
  EXPECT_TRUE(Orb::compositeGlyph(style, Orb::kRGBA, uniformImage(5, 2, 255, 0, 255), 5, 2,
                                  target.canvas, drawn));
}

// A negative left bearing at the left edge used to wrap to a huge unsigned column that
// passed the fit test and was written before the buffer.
TEST_F(Compositing, NegativeBearingAtTheLeftEdgeIsRefused) {
  TestCanvas target(10, 10);
  EXPECT_FALSE(Orb::compositeGlyph(style, Orb::kRGBA, uniformImage(3, 3, 255, 0, 255, -3, 3), 0, 5,
                                   target.canvas, drawn));
  EXPECT_TRUE(target.untouched());
}

TEST_F(Compositing, TallGlyphAtTheTopIsDrawnFromRowZeroAndSaysSo) {
  TestCanvas target(10, 10);
  ASSERT_TRUE(Orb::compositeGlyph(style, Orb::kRGBA, uniformImage(2, 4, 255, 0, 255, 1, 8), 2, 3,
                                  target.canvas, drawn));
  EXPECT_EQ(drawn.top, 0);
  EXPECT_EQ(drawn.bottom, 4);
  EXPECT_EQ(drawn.left, 3);
  EXPECT_EQ(drawn.right, 5);
  EXPECT_EQ(target.at(3, 0)[3], 255);
}

// Lines used to be drawn without looking at the canvas edges.
TEST_F(Compositing, LinesAreClippedToTheCanvas) {
  style.underline = true;
  style.strikeOut = true;
  // The underline falls below the last row and the strike-out above the first.
  TestCanvas small(8, 3);
  ASSERT_TRUE(Orb::compositeGlyph(style, Orb::kRGBA, uniformImage(2, 1, 255, 0, 255, 0, 1), 4, 1,
                                  small.canvas, drawn));
  EXPECT_EQ(small.at(0, 0)[3], 0);
  // An advance past the right edge does not spill into the next row.
  TestCanvas narrow(6, 40);
  Orb::GlyphImage wide = uniformImage(2, 1, 255, 0, 255, 0, 1);
  wide.advance = 9;
  ASSERT_TRUE(Orb::compositeGlyph(style, Orb::kRGBA, wide, 4, 20, narrow.canvas, drawn));
  const auto row = static_cast<std::uint32_t>(20 - style.lineOffset);
  EXPECT_EQ(narrow.at(5, row)[3], 255);
  EXPECT_EQ(narrow.at(0, row + 1)[3], 0);
}

TEST_F(Compositing, UnknownFormatDrawsNothingButPlaces) {
  style.underline = true;
  TestCanvas target(4, 4);
  EXPECT_TRUE(Orb::compositeGlyph(style, 4, uniformImage(1, 1, 255, 0, 255), 1, 1, target.canvas, drawn));
  EXPECT_TRUE(target.untouched());
}

TEST_F(Compositing, RowsAdvanceByTheCanvasStride) {
  TestCanvas target(2, 2, 5);
  ASSERT_TRUE(Orb::compositeGlyph(style, Orb::kRGBA, uniformImage(2, 2, 255, 0, 255, 0, 0), 0, 0,
                                  target.canvas, drawn));
  EXPECT_EQ(target.at(1, 1)[3], 255);
  EXPECT_EQ(target.at(2, 0)[3], 0);
}

// A glyph image holding every pair of a few weights, with varied coverage.
Orb::GlyphImage variedImage(std::uint32_t width, std::uint32_t height, std::int32_t top) {
  const std::uint8_t weights[] = {0, 1, 37, 128, 254, 255};
  Orb::GlyphImage image = uniformImage(width, height, 0, 0, 0, 1, top);
  for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
    image.pixels[i * 4] = static_cast<std::uint8_t>(i * 29);
    image.pixels[i * 4 + 1] = weights[i % 6];
    image.pixels[i * 4 + 2] = weights[i / 6 % 6];
  }
  return image;
}

// Drawing through the painted copy a cache keeps must give the bytes the direct path
// gives: in every byte order, over ink already there, flush with each edge of a padded
// canvas (and moved down to row 0), with lines, and after the colours change and back.
TEST_F(Compositing, PaintedCopyDrawsTheSameBytesAsTheDirectPath) {
  style.underline = true;
  style.strikeOut = true;
  const Orb::GlyphImage image = variedImage(7, 6, 4);
  constexpr std::uint32_t kWidth = 20, kHeight = 12, kStride = 23;
  const std::int64_t places[][2] = {
      {-1, 4},                                   // left and top edges
      {kWidth - 8, kHeight - 6 + 4},             // right and bottom edges
      {5, 1},                                    // above the canvas: moved to row 0
      {kWidth - 7, 6},                           // one column too far right: refused
  };
  const Orb::Colour colours[][2] = {{{255, 255, 0, 0}, {0, 0, 0, 0}},
                                    {{40, 250, 120, 0}, {200, 90, 30, 0}},
                                    {{255, 255, 0, 0}, {0, 0, 0, 0}}};
  for (std::uint32_t format = 0; format < 4; ++format) {
    Orb::PaintedGlyph painted;
    for (const auto& pair : colours) {
      style.fill = pair[0];
      style.outline = pair[1];
      for (const auto& place : places) {
        TestCanvas direct(kWidth, kHeight, kStride), throughPaint(kWidth, kHeight, kStride);
        for (std::size_t i = 0; i < direct.bytes.size(); ++i) {
          direct.bytes[i] = throughPaint.bytes[i] = static_cast<std::uint8_t>(i * 37);
        }
        Orb::PixelRect drawnThroughPaint;
        const bool drewDirect =
            Orb::compositeGlyph(style, format, image, place[0], place[1], direct.canvas, drawn);
        EXPECT_EQ(Orb::compositeGlyph(style, format, image, place[0], place[1],
                                      throughPaint.canvas, drawnThroughPaint, &painted),
                  drewDirect);
        EXPECT_TRUE(direct.bytes == throughPaint.bytes)
            << "format " << format << " at " << place[0] << ", " << place[1];
      }
    }
  }
}

}  // namespace
