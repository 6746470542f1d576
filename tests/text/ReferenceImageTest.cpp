// Whole renders compared with reviewed reference images. A small tolerance lets a FreeType
// update move antialiasing a little; anything more is a change to look at. Run with
// QUILL_UPDATE_REFERENCES=1 to rewrite the references on purpose, then review them.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "tests/text/PngImage.h"
#include "tests/text/RenderCorpus.h"
#include "tests/text/TestFonts.h"
#include "text/TextRendererInterface.h"

namespace {

// Byte offsets of red, green, blue and alpha in each format.
constexpr int kOffsets[4][4] = {{0, 1, 2, 3}, {1, 2, 3, 0}, {2, 1, 0, 3}, {3, 2, 1, 0}};

// A 720p frame: text area 90 % by 20 % of the frame, size min(height / 22, width / 29).
RgbaImage renderAsRgba(const std::string& subtitle, std::uint32_t format) {
  auto renderer = Orb::createTextRendererFromFile(TestFonts::kSans.c_str(), nullptr, 32, 0, 0, 0,
                                                  0, 0, 0x00E0FFFF, 0x00200000, 0, nullptr);
  EXPECT_NE(renderer, nullptr);
  const RenderCorpus::RenderOutput canvas =
      RenderCorpus::render(*renderer, RenderCorpus::RenderCase(subtitle, format, 1152, 144));
  EXPECT_TRUE(canvas.rendered);
  const std::uint32_t stride = canvas.stride;  // padded, as a host allocator may hand out
  RgbaImage image;
  image.width = 1152 + 576;
  image.height = 144 + 72;
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 4);
  for (std::uint32_t row = 0; row < image.height; ++row) {
    for (std::uint32_t column = 0; column < image.width; ++column) {
      const std::uint8_t* in = &canvas.bytes[(static_cast<std::size_t>(row) * stride + column) * 4];
      std::uint8_t* out = &image.pixels[(static_cast<std::size_t>(row) * image.width + column) * 4];
      for (int c = 0; c < 4; ++c) out[c] = in[kOffsets[format][c]];
    }
  }
  return image;
}

void compareWithReference(const std::string& name, const std::string& subtitle) {
  const std::string path = std::string(QUILL_TEXT_REFERENCE_DIR) + "/" + name + ".png";
  const char* update = std::getenv("QUILL_UPDATE_REFERENCES");
  if (update != nullptr && std::string(update) == "1") {
    ASSERT_TRUE(writePng(path, renderAsRgba(subtitle, 0)));
  }
  RgbaImage reference;
  ASSERT_TRUE(readPng(path, reference)) << path << " (QUILL_UPDATE_REFERENCES=1 makes it)";
  for (std::uint32_t format = 0; format < 4; ++format) {
    const RgbaImage image = renderAsRgba(subtitle, format);
    ASSERT_EQ(image.width, reference.width);
    ASSERT_EQ(image.height, reference.height);
    std::size_t inked = 0, different = 0;
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
      if (reference.pixels[i + 3] != 0) ++inked;
      for (int c = 0; c < 4; ++c) {
        if (std::abs(image.pixels[i + c] - reference.pixels[i + c]) > 24) {
          ++different;
          break;
        }
      }
    }
    EXPECT_GT(inked, 1000u) << name;
    EXPECT_LE(different, inked / 100) << name << " format " << format;
  }
}

TEST(ReferenceImages, TwoLineSubtitle) {
  compareWithReference("two-lines", "I never said that.\nNot to you, anyway.");
}

TEST(ReferenceImages, MarkupHeavySubtitle) {
  compareWithReference("markup", "<b>Bold</b>, <i>italic</i>, <u>under</u> and <s>struck</s>\n"
                                 "<font color=\"#ff4020\">red</font> <font size=\"+4\">big</font> "
                                 "<font size=\"-4\">small</font>");
}

TEST(ReferenceImages, LongWrappingSubtitle) {
  compareWithReference("wrapping",
                       "This subtitle is long enough that it cannot fit on one line of the text "
                       "area, so the pen walk has to wrap it without looking for word boundaries.");
}

}  // namespace
