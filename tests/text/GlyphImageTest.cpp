#include "text/GlyphImage.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/text/TestFonts.h"

namespace {

const std::uint8_t* pixelAt(const Orb::GlyphImage& image, std::uint32_t row, std::uint32_t column) {
  return &image.pixels[row * image.stride + column * 4];
}

// `font` with the units-per-em of its head table replaced, as a damaged file might have it.
std::vector<unsigned char> withUnitsPerEm(std::vector<unsigned char> font, unsigned unitsPerEm) {
  const std::size_t tables = (std::size_t{font[4]} << 8) | font[5];
  for (std::size_t t = 0; t < tables; ++t) {
    const unsigned char* record = &font[12 + 16 * t];
    if (std::string(record, record + 4) != "head") continue;
    const std::size_t head = (std::size_t{record[8]} << 24) | (std::size_t{record[9]} << 16) |
                             (std::size_t{record[10]} << 8) | record[11];
    font[head + 18] = static_cast<unsigned char>(unitsPerEm >> 8);
    font[head + 19] = static_cast<unsigned char>(unitsPerEm);
  }
  return font;
}

// Builds glyphs of one font file at one size, by character code as the classic engine does.
struct GlyphBench {
  GlyphBench(const std::string& path, std::int32_t pixelSize)
      : record(fonts.open(path)), stroker(fonts.library.handle()), size(pixelSize) {}

  Orb::GlyphRequest request(char32_t codePoint) const {
    Orb::GlyphRequest r;
    r.face = record->face.get();
    r.size = size;
    r.transform = record->transform;
    r.glyph = codePoint;
    r.strokeRadius = Orb::strokeRadius(size);
    return r;
  }
  bool build(char32_t codePoint, Orb::GlyphImage& image) const {
    return Orb::buildGlyphImage(fonts.library.handle(), stroker.handle(), request(codePoint), image);
  }

  TestFonts::FontBench fonts;
  std::shared_ptr<Orb::FontRecord> record;
  Orb::FreeTypeStroker stroker;
  std::int32_t size;
};

class GlyphImages : public ::testing::Test {
 protected:
  GlyphBench sans{TestFonts::kSans, 40};
};

TEST_F(GlyphImages, BodyAndOutlineWeightsFollowTheirCoverages) {
  Orb::GlyphImage image;
  ASSERT_TRUE(sans.build(U'H', image));
  ASSERT_GT(image.width, 0u);
  ASSERT_EQ(image.stride, image.width * 4);
  ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.stride) * image.height);
  int body = 0, strokeOnly = 0;
  for (std::uint32_t r = 0; r < image.height; ++r) {
    for (std::uint32_t c = 0; c < image.width; ++c) {
      const std::uint8_t* p = pixelAt(image, r, c);
      EXPECT_EQ(p[3], 0);
      EXPECT_LE(p[Orb::GlyphImage::kFill], p[Orb::GlyphImage::kCoverage]);
      EXPECT_LE(p[Orb::GlyphImage::kOutline], p[Orb::GlyphImage::kCoverage]);
      if (p[Orb::GlyphImage::kFill] == 255) {
        ++body;
        EXPECT_EQ(p[Orb::GlyphImage::kOutline], 0);
        EXPECT_EQ(p[Orb::GlyphImage::kCoverage], 255);
      }
      if (p[Orb::GlyphImage::kCoverage] == 255 && p[Orb::GlyphImage::kFill] == 0) {
        ++strokeOnly;
        EXPECT_EQ(p[Orb::GlyphImage::kOutline], 255);
      }
    }
  }
  EXPECT_GT(body, 50);
  EXPECT_GT(strokeOnly, 50);
  // The stroke pads the plain glyph on every side; the bearings are the plain glyph's.
  FT_Load_Char(sans.record->face->handle(), U'H', FT_LOAD_RENDER);
  const FT_GlyphSlot slot = sans.record->face->handle()->glyph;
  EXPECT_GE(image.width, slot->bitmap.width + 2);
  EXPECT_GE(image.height, slot->bitmap.rows + 2);
  EXPECT_EQ(image.left, slot->metrics.horiBearingX / 64);
  EXPECT_EQ(image.top, slot->metrics.horiBearingY / 64);
  EXPECT_EQ(image.advance, slot->advance.x / 64 + 1);
}

TEST_F(GlyphImages, BlanksAndMissingCodePointsStillYieldImages) {
  Orb::GlyphImage blank;
  ASSERT_TRUE(sans.build(U' ', blank));
  EXPECT_GT(blank.advance, 1);

  Orb::GlyphImage missing;
  ASSERT_TRUE(sans.build(0x10FFFD, missing)) << "drawn as the missing glyph";
  EXPECT_GT(missing.width, 0u);
}

TEST_F(GlyphImages, SyntheticItalicShearsTheGlyph) {
  Orb::GlyphImage upright;
  ASSERT_TRUE(sans.build(U'l', upright));
  sans.record->transform = FT_Matrix{0x10000, 0x4CCC, 0, 0x10000};
  Orb::GlyphImage sheared;
  ASSERT_TRUE(sans.build(U'l', sheared));
  EXPECT_EQ(sheared.height, upright.height);
  // A 40-pixel stem leaning by 0.3 gains about 12 pixels of width.
  EXPECT_GE(sheared.width, upright.width + 9);
  // Its top leans right of its bottom.
  auto firstInk = [](const Orb::GlyphImage& image, std::uint32_t row) {
    for (std::uint32_t c = 0; c < image.width; ++c) {
      if (pixelAt(image, row, c)[Orb::GlyphImage::kCoverage] > 128) return c;
    }
    return image.width;
  };
  EXPECT_GT(firstInk(sheared, 2), firstInk(sheared, sheared.height - 3) + 6);
  EXPECT_LE(firstInk(upright, 2), firstInk(upright, upright.height - 3) + 1);
}

TEST(GlyphImageBounds, GlyphsClaimingHundredsOfEmsAreSkippedButWideRealOnesAreNot) {
  // With 36 units to the em DejaVu's capitals stand about forty ems tall: at 40 pixels an
  // unchecked build rasterised each of them at thousands of pixels square.
  const std::string path = ::testing::TempDir() + "glyph-bounds-tiny-em.ttf";
  const auto damaged = withUnitsPerEm(TestFonts::readFile(TestFonts::kSans), 36);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(damaged.data()), static_cast<std::streamsize>(damaged.size()));
  {
    const GlyphBench damagedFont(path, 40);
    Orb::GlyphImage image;
    EXPECT_FALSE(damagedFont.build(U'W', image));
    EXPECT_TRUE(image.pixels.empty());
  }
  std::remove(path.c_str());

  // U+1671, about two ems wide, is among the widest glyphs real fonts map.
  const GlyphBench bold(TestFonts::kSansBold, 40);
  Orb::GlyphImage wide;
  ASSERT_TRUE(bold.build(0x1671, wide));
  EXPECT_GT(wide.width, 70u);
}

TEST_F(GlyphImages, RequestWithoutFaceFails) {
  Orb::GlyphRequest noFace = sans.request(U'x');
  noFace.face = nullptr;
  Orb::GlyphImage image;
  EXPECT_FALSE(Orb::buildGlyphImage(sans.fonts.library.handle(), sans.stroker.handle(), noFace, image));
}

TEST_F(GlyphImages, AGlyphIndexDrawsWhatItsCharacterDraws) {
  Orb::GlyphImage byCode, byIndex;
  ASSERT_TRUE(sans.build(U'g', byCode));
  Orb::GlyphRequest index = sans.request(FT_Get_Char_Index(sans.record->face->handle(), U'g'));
  index.byIndex = true;
  ASSERT_TRUE(Orb::buildGlyphImage(sans.fonts.library.handle(), sans.stroker.handle(), index, byIndex));
  EXPECT_EQ(byIndex.pixels, byCode.pixels);
  EXPECT_EQ(byIndex.advance, byCode.advance);
}

}  // namespace
