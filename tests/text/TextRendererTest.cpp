#include "text/TextRenderer.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/log/RecordingLog.h"
#include "tests/text/TestFonts.h"

namespace {

// An allocation callback over a vector, with knobs for the ways a caller can get it wrong.
struct Allocator {
  std::vector<std::uint8_t> bytes;
  std::uint32_t requestedWidth = 0;
  std::uint32_t requestedHeight = 0;
  int calls = 0;
  bool refuse = false;
  int strideShortBy = 0;     // report a stride this much smaller than the width
  std::size_t lengthShortBy = 0;

  static bool allocate(std::uint32_t width, std::uint32_t height, std::uint32_t planes,
                       std::uint8_t** buffer, std::size_t* byteLength, std::uint32_t* stride,
                       void* data) {
    auto* self = static_cast<Allocator*>(data);
    ++self->calls;
    self->requestedWidth = width;
    self->requestedHeight = height;
    if (self->refuse || planes != 1) return false;
    *stride = width - static_cast<std::uint32_t>(self->strideShortBy);
    const std::size_t length = static_cast<std::size_t>(*stride) * 4 * height - self->lengthShortBy;
    self->bytes.assign(length, 0xAB);
    *buffer = self->bytes.data();
    *byteLength = length;
    return true;
  }
};

struct Results {
  std::uint32_t width = 7, height = 7, xOffset = 7, yOffset = 7, stride = 7;
};

std::unique_ptr<Orb::TextRendererInterface> sansRenderer(std::int32_t size = 22) {
  return Orb::createTextRendererFromFile(TestFonts::kSans.c_str(), nullptr, size, 0, 0, 0, 0, 0,
                                         0x00FFFFFF, 0, 0, nullptr);
}

bool render(Orb::TextRendererInterface& renderer, const std::string& text, Allocator& allocator,
            Results& results, std::uint32_t maxWidth = 400, std::uint32_t maxHeight = 100,
            std::uint32_t format = 0) {
  return renderer.renderSubtitle(format, text.data(), text.size(), maxWidth, maxHeight,
                                 &results.width, &results.height, &results.xOffset,
                                 &results.yOffset, &results.stride, &Allocator::allocate,
                                 &allocator);
}

// A face lookup that finds every family in DejaVu Serif, and bold ones in DejaVu Sans Bold.
TestFonts::FunctionLookup serifLookup([](const std::string&, bool bold, bool,
                                         Orb::FaceLocation& location) {
  location.path = bold ? TestFonts::kSansBold : TestFonts::kSerif;
  return true;
});

// The rendered image's alpha, row by row; what two renders are compared by.
std::vector<std::uint8_t> alphaOf(const Allocator& allocator) {
  std::vector<std::uint8_t> alpha;
  for (std::size_t i = 3; i < allocator.bytes.size(); i += 4) alpha.push_back(allocator.bytes[i]);
  return alpha;
}

TEST(TextRendererCreation, AcceptsOneSourceOrAPathWithItsFamily) {
  EXPECT_NE(sansRenderer(), nullptr);
  EXPECT_EQ(Orb::createTextRendererFromFile(nullptr, nullptr, 22, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), nullptr);
  EXPECT_EQ(Orb::createTextRendererFromFile("/no/such/font.ttf", nullptr, 22, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), nullptr);
  EXPECT_NE(Orb::createTextRendererFromFile(TestFonts::kSans.c_str(), "DejaVu Sans", 22, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), nullptr);
  EXPECT_EQ(Orb::createTextRendererFromFile(TestFonts::kSans.c_str(), "Other", 22, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), nullptr)
      << "the family selects inside the file; without a lookup there is nothing else";
  EXPECT_EQ(Orb::createTextRenderer("DejaVu Serif", 22, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), nullptr);
  EXPECT_NE(Orb::createTextRenderer("Anything", 22, 0, 0, 0, 0, 0, 0, 0, 0, &serifLookup), nullptr);

  const auto bytes = TestFonts::readFile(TestFonts::kSans);
  EXPECT_NE(Orb::createTextRendererFromMemory(bytes.data(), bytes.size(), nullptr, 22, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), nullptr);
  EXPECT_EQ(Orb::createTextRendererFromMemory(bytes.data(), bytes.size(), "DejaVu Sans", 22, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), nullptr);
  EXPECT_EQ(Orb::createTextRendererFromMemory(bytes.data(), 0, nullptr, 22, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), nullptr);
  const std::vector<std::uint8_t> junk(1000, 0x5A);
  EXPECT_EQ(Orb::createTextRendererFromMemory(junk.data(), junk.size(), nullptr, 22, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), nullptr);
}

TEST(TextRendererCreation, KeepsItsOwnCopyOfFontBytes) {
  auto bytes = TestFonts::readFile(TestFonts::kSans);
  auto renderer = Orb::createTextRendererFromMemory(bytes.data(), bytes.size(), nullptr, 22, 0, 0, 0, 0, 0,
                                                    0x00FFFFFF, 0, 0, nullptr);
  ASSERT_NE(renderer, nullptr);
  std::fill(bytes.begin(), bytes.end(), 0);
  bytes.clear();
  bytes.shrink_to_fit();
  Allocator allocator;
  Results results;
  EXPECT_TRUE(render(*renderer, "still readable", allocator, results));
  EXPECT_GT(results.width, 10u);
}

TEST(TextRendererRendering, RequestsOneAndAHalfTimesTheAreaAndReportsTheBox) {
  auto renderer = sansRenderer();
  Allocator allocator;
  Results results;
  RecordingLog_clear();
  ASSERT_TRUE(render(*renderer, "Hello", allocator, results));
  EXPECT_EQ(allocator.requestedWidth, 600u);
  EXPECT_EQ(allocator.requestedHeight, 150u);
  EXPECT_EQ(results.stride, 600u);
  EXPECT_GT(results.xOffset, 90u);
  EXPECT_LT(results.xOffset, 110u);
  EXPECT_GT(results.width, 40u);
  // Every pixel outside the box is cleared; some inside are not.
  int inkOutside = 0, inkInside = 0;
  for (std::uint32_t y = 0; y < 150; ++y) {
    for (std::uint32_t x = 0; x < 600; ++x) {
      const bool ink = allocator.bytes[(y * 600 + x) * 4 + 3] != 0;
      const bool inside = x >= results.xOffset && x < results.xOffset + results.width &&
                          y >= results.yOffset && y < results.yOffset + results.height;
      (inside ? inkInside : inkOutside) += ink;
    }
  }
  EXPECT_EQ(inkOutside, 0);
  EXPECT_GT(inkInside, 100);

  const auto messages = RecordingLog_messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].category, "Text");
  EXPECT_EQ(messages[0].function, "TextRenderer::renderSubtitle");
  EXPECT_EQ(messages[0].line, 1828);
  const std::string expected =
      "orbTR_renderSubtitle: xMin: " + std::to_string(results.xOffset) +
      " xMax: " + std::to_string(results.xOffset + results.width - 1) +
      " yMin: " + std::to_string(results.yOffset) +
      " yMax: " + std::to_string(results.yOffset + results.height - 1) +
      "\n    xOffset: " + std::to_string(results.xOffset) + " yOffset: " + std::to_string(results.yOffset) +
      " width: " + std::to_string(results.width) + " height: " + std::to_string(results.height) +
      " stride: 600\n    maxWidth: 400 maxHeight: 100";
  EXPECT_EQ(messages[0].text, expected);
}

TEST(TextRendererRendering, FailuresLeaveOutputsAloneAndLogNothing) {
  auto renderer = sansRenderer();
  Allocator allocator;
  Results results;
  RecordingLog_clear();
  EXPECT_FALSE(render(*renderer, "", allocator, results));
  EXPECT_FALSE(render(*renderer, "bad \xC0 byte", allocator, results));
  EXPECT_FALSE(renderer->renderSubtitle(0, "x", 1, 400, 100, &results.width, nullptr, &results.xOffset,
                                        &results.yOffset, &results.stride, &Allocator::allocate, &allocator));
  EXPECT_FALSE(renderer->renderSubtitle(0, "x", 1, 400, 100, &results.width, &results.height, &results.xOffset,
                                        &results.yOffset, &results.stride, nullptr, &allocator));
  EXPECT_EQ(allocator.calls, 0);
  EXPECT_EQ(results.width, 7u);

  allocator.refuse = true;
  EXPECT_FALSE(render(*renderer, "x", allocator, results));
  EXPECT_EQ(results.width, 600u) << "the requested canvas is reported";
  EXPECT_EQ(results.height, 150u);
  EXPECT_EQ(results.xOffset, 7u);
  EXPECT_TRUE(RecordingLog_messages().empty());
}

// The canvas used to be written at the reported stride while fitted to the requested
// width, so a short stride or buffer was overrun.
TEST(TextRendererRendering, RefusesABufferSmallerThanTheCanvas) {
  auto renderer = sansRenderer();
  Results results;
  Allocator shortStride;
  shortStride.strideShortBy = 599;  // one pixel per row: the line of W would run far past
  EXPECT_FALSE(render(*renderer, std::string(60, 'W'), shortStride, results));
  Allocator shortLength;
  shortLength.lengthShortBy = 600 * 4 * 75;  // half the rows the text reaches
  EXPECT_FALSE(render(*renderer, "WWW\nWWW\nWWW", shortLength, results));
  EXPECT_EQ(shortLength.bytes.back(), 0xAB) << "nothing was written";
}

TEST(TextRendererRendering, NothingDrawnIsAnEmptyBox) {
  auto renderer = sansRenderer();
  Allocator allocator;
  Results results;
  ASSERT_TRUE(render(*renderer, "<b></b>", allocator, results));
  EXPECT_EQ(results.width, 0u);
  EXPECT_EQ(results.height, 0u);
  EXPECT_EQ(results.xOffset, 0u);
  EXPECT_EQ(results.yOffset, 0u);
  EXPECT_EQ(results.stride, 600u);
}

TEST(TextRendererStyle, FontSizeChangesTheBaseAndWhatMarkupDerivesFromIt) {
  auto renderer = sansRenderer(22);
  Allocator allocator;
  Results small, large, stepped;
  ASSERT_TRUE(render(*renderer, "H", allocator, small));
  renderer->setFontSize(30);
  ASSERT_TRUE(render(*renderer, "H", allocator, large));
  EXPECT_GE(large.height, small.height + 6) << "a capital about as tall as the size grew";
  ASSERT_TRUE(render(*renderer, "<font size=\"+1\">H", allocator, stepped));
  EXPECT_GE(stepped.height, large.height + 1) << "a step counts from the new size";
  renderer->setFontSize(-5);
  EXPECT_TRUE(render(*renderer, "H", allocator, small)) << "kept at the smallest size";
}

TEST(TextRendererStyle, SetFontReplacesTheBaseFontAndItsLines) {
  auto renderer = Orb::createTextRenderer("Anything", 22, 0, 0, 1, 0, 0, 0x00FFFFFF, 0, 0,
                                          &serifLookup);
  ASSERT_NE(renderer, nullptr);
  auto sans = sansRenderer();
  Allocator allocator, sansAllocator;
  Results results;
  ASSERT_TRUE(render(*renderer, "x", allocator, results));
  const std::vector<std::uint8_t> underlinedSerif = alphaOf(allocator);
  ASSERT_TRUE(renderer->setFont("Other", 0, 0, 0, 1, 0));
  ASSERT_TRUE(render(*renderer, "x", allocator, results));
  EXPECT_NE(alphaOf(allocator), underlinedSerif) << "struck out now, not underlined";

  EXPECT_FALSE(renderer->setFont(nullptr, 0, 0, 0, 0, 1));
  ASSERT_TRUE(render(*renderer, "<font face=\"Other\" size=\"+9\">x", allocator, results));
  EXPECT_LT(results.height, 30u) << "the override, stored though the call failed, keeps the size";

  const auto bytes = TestFonts::readFile(TestFonts::kSans);
  EXPECT_FALSE(renderer->setFontFromMemory(bytes.data(), bytes.size(), "DejaVu Sans", 0, 0, 0, 0, 0));
  ASSERT_TRUE(renderer->setFontFromMemory(bytes.data(), bytes.size(), nullptr, 0, 0, 0, 0, 0));
  ASSERT_TRUE(render(*renderer, "x", allocator, results));
  ASSERT_TRUE(render(*sans, "x", sansAllocator, results));
  EXPECT_EQ(alphaOf(allocator), alphaOf(sansAllocator)) << "drawn with the bytes given";
}

TEST(TextRendererStyle, FailedSetFontKeepsTheOldFont) {
  auto renderer = sansRenderer();
  Allocator before, after;
  Results results;
  ASSERT_TRUE(render(*renderer, "Font", before, results));
  EXPECT_FALSE(renderer->setFont("Nowhere", 0, 0, 0, 0, 0));
  const std::vector<std::uint8_t> junk(64, 1);
  EXPECT_FALSE(renderer->setFontFromMemory(junk.data(), junk.size(), nullptr, 0, 0, 0, 0, 0));
  ASSERT_TRUE(render(*renderer, "Font", after, results));
  EXPECT_EQ(alphaOf(before), alphaOf(after));
}

// Whatever a subtitle file holds must end in a defined result, quickly and without leaks.
TEST(TextRendererHostileInput, SurvivesWhatSubtitleFilesCanHold) {
  auto renderer = sansRenderer();
  Allocator allocator;
  Results results;
  std::string bolds;
  while (bolds.size() < (1u << 20)) bolds += "<b>";
  std::string faces;
  while (faces.size() < (1u << 20)) faces += "<font face=\"DejaVu Sans\">";
  std::string huge = "<font size=\"+999999999999\">";
  huge += std::string(1u << 20, 'W');
  // Small first line, then a megabyte of glyphs that are each built and found too big.
  const std::string neverFits = "H<font size=\"+140\">" + std::string(1u << 20, '|');
  const std::string inputs[] = {
      bolds + "text", faces + "text", huge, neverFits,
      "<font size=\"+99999\">big</font>", "<font color=\"#ff0000", "abc<b", "<<<<>>>>",
      std::string("a\0<b>b", 6), "<font face=\"\xF4\x8F\xBF\xBF\">x", std::string(1u << 16, '\n'),
      "<font face=\"DejaVu Sans\" size=\"-99\">tiny</font>",
  };
  for (const std::string& input : inputs) render(*renderer, input, allocator, results);
  // The renderer is still fine afterwards.
  ASSERT_TRUE(render(*renderer, "fine", allocator, results));
  EXPECT_GT(results.width, 10u);
}

// The full layout on what breaks naive bidirectional and line-breaking code: each must
// come back with a canvas no larger than allowed, in bounded time (ctest's time-out).
TEST(TextRendererHostileInput, FullLayoutBoundsWhatEveryStageCosts) {
  auto renderer = sansRenderer(22);
  renderer->setLayout(Orb::LayoutEngine::Full, 2);
  std::string unpaired = "a\u202Bb\u202Ec\u2067d\u2069\u2069\u202C\u202Ce";
  std::string marks = "e";
  for (int i = 0; i < 10000; ++i) marks += "\u0301";
  std::string nested;
  for (int i = 0; i < 200; ++i) nested += i % 2 ? "\u202A\u05D0" : "\u202B" "a";
  nested += "x";
  // Scripts the font lacks (Devanagari with a conjunct, Thai, Khmer, an emoji) beside
  // ones it has: drawn as far as the font goes.
  const std::string uncovered = "ab \u0915\u094D\u0937 \u0E20\u0E32\u0E29\u0E32 "
                                "\u1797\u17B6\u179F\u17B6 \U0001F600 \u05D0";
  const std::string inputs[] = {unpaired, std::string(1u << 20, 'm'), marks, nested, uncovered,
                                "\u05D0 " + std::string(1u << 20, ' '), "<b></b>", "\n\n\n"};
  for (const std::string& input : inputs) {
    Allocator allocator;
    Results results;
    ASSERT_TRUE(render(*renderer, input, allocator, results, 400, 300)) << input.substr(0, 40);
    EXPECT_LE(allocator.requestedWidth, 600u);
    EXPECT_LE(allocator.requestedHeight, 300u);
    EXPECT_LE(results.xOffset + results.width, allocator.requestedWidth);
    EXPECT_LE(results.yOffset + results.height, allocator.requestedHeight);
    if (&input == &inputs[4]) {
      EXPECT_GT(results.width, 0u) << "what the font has is drawn";
    }
  }
  const Orb::LaidOutText& lines = renderer->lastLayout();
  EXPECT_EQ(lines.lines.size(), 4u) << "three line feeds make four lines";
}

TEST(TextRendererHostileInput, GlyphsLargerThanTheCanvasAreSkipped) {
  auto renderer = sansRenderer(1024);
  Allocator allocator;
  Results results;
  ASSERT_TRUE(render(*renderer, "WWWW", allocator, results, 100, 40));
  EXPECT_EQ(results.width, 0u);
}

std::unique_ptr<Orb::TextRendererInterface> fixtureRenderer(const char* font, std::int32_t size) {
  const std::string path = std::string(QUILL_GLYPH_FIXTURES_DIR) + "/" + font;
  return Orb::createTextRendererFromFile(path.c_str(), nullptr, size, 0, 0, 0, 0, 0, 0x00FFFFFF, 0, 0,
                                         nullptr);
}

struct RefusedGlyph {
  const char* font;
  std::int32_t size;
};

class TextRendererRefusedGlyph : public ::testing::TestWithParam<RefusedGlyph> {};

// Each fixture's "W" is one that FreeType refuses to build in some step; the character is
// skipped and the rest drawn exactly as if it were not there.
TEST_P(TextRendererRefusedGlyph, IsSkippedAndTheRestDrawnAsWithoutIt) {
  auto renderer = fixtureRenderer(GetParam().font, GetParam().size);
  ASSERT_NE(renderer, nullptr);
  Allocator withRefused;
  Allocator without;
  Results refusedBox;
  Results plainBox;
  ASSERT_TRUE(render(*renderer, "AWA", withRefused, refusedBox, 1200, 400));
  ASSERT_TRUE(render(*renderer, "AA", without, plainBox, 1200, 400));
  EXPECT_GT(plainBox.width, 0u);
  EXPECT_EQ(refusedBox.width, plainBox.width);
  EXPECT_EQ(refusedBox.height, plainBox.height);
  EXPECT_TRUE(withRefused.bytes == without.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, TextRendererRefusedGlyph,
    ::testing::Values(RefusedGlyph{"wide-advance.ttf", 22},  // FT_Get_Glyph: advance too large
                      RefusedGlyph{"sliver.ttf", 100},       // FT_Glyph_To_Bitmap: raster overflow
                      RefusedGlyph{"huge-square.ttf", 22}),  // far beyond any plausible extent
    [](const ::testing::TestParamInfo<RefusedGlyph>& param) {
      std::string name = param.param.font;
      name = name.substr(0, name.find('.'));
      name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
      return name;
    });

// Embedded strikes of 2 and 4 bits per pixel are drawn as they are (the stroker refuses
// bitmaps), each grey level spread over the full range of coverage.
TEST(TextRendererEmbeddedStrikes, GreyStrikesAreDrawnUnstrokedWithTheirLevels) {
  const struct {
    std::int32_t size;
    std::uint8_t columns[8];
  } strikes[] = {{20, {85, 170, 255, 255, 255, 255, 170, 85}},   // 2 bits: levels 1, 2, 3
                 {24, {17, 85, 170, 255, 255, 170, 85, 17}}};  // 4 bits: levels 1, 5, 10, 15
  for (const auto& strike : strikes) {
    auto renderer = fixtureRenderer("grey-strikes.ttf", strike.size);
    ASSERT_NE(renderer, nullptr);
    Allocator allocator;
    Results results;
    ASSERT_TRUE(render(*renderer, "A", allocator, results));
    // The reported box reaches one past the 8 x 8 bitmap on the right and at the bottom.
    ASSERT_EQ(results.width, 9u) << strike.size;
    ASSERT_EQ(results.height, 9u) << strike.size;
    for (std::uint32_t y = 0; y < 9; ++y) {
      for (std::uint32_t x = 0; x < 9; ++x) {
        const std::size_t pixel = ((results.yOffset + y) * results.stride + results.xOffset + x) * 4;
        const std::uint8_t expected = x < 8 && y < 8 ? strike.columns[x] : 0;
        EXPECT_EQ(allocator.bytes[pixel + 3], expected) << strike.size << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace

namespace {

// Finds the WenQuanYi collection's first face for any character, and no face by family.
struct CollectionForEveryCharacter : Orb::FaceLookup {
  int asked = 0;
  bool findFace(const std::string&, bool, bool, Orb::FaceLocation&) override { return false; }
  bool findFaceWithCharacter(char32_t, bool, bool, Orb::FaceLocation& location) override {
    ++asked;
    location = Orb::FaceLocation{TestFonts::kCollection, 0};
    return true;
  }
};

TEST(TextRendererFallback, TheFullLayoutDrawsWhatTheFontLacksFromTheFaceThatHasIt) {
  CollectionForEveryCharacter lookup;
  auto fallingBack = Orb::createTextRendererFromFile(TestFonts::kSans.c_str(), nullptr, 40, 0, 0,
                                                     0, 0, 0, 0x00FFFFFF, 0, 0, &lookup);
  auto wenQuanYi = Orb::createTextRendererFromFile(TestFonts::kCollection.c_str(), nullptr, 40, 0,
                                                   0, 0, 0, 0, 0x00FFFFFF, 0, 0, nullptr);
  ASSERT_TRUE(fallingBack && wenQuanYi);
  const auto image = [](Orb::TextRendererInterface& renderer, Orb::LayoutEngine engine) {
    renderer.setLayout(engine, 2);
    Allocator allocator;
    Results results;
    EXPECT_TRUE(render(renderer, "日本語", allocator, results, 600, 200));
    return alphaOf(allocator);
  };
  EXPECT_EQ(image(*fallingBack, Orb::LayoutEngine::Full), image(*wenQuanYi, Orb::LayoutEngine::Full));
  EXPECT_EQ(lookup.asked, 3);
  EXPECT_NE(image(*fallingBack, Orb::LayoutEngine::Classic), image(*wenQuanYi, Orb::LayoutEngine::Classic))
      << "the classic layout draws the font's own empty boxes";
  EXPECT_EQ(lookup.asked, 3);
}

// Renderers share the shaping faces of font files; what one draws must not depend on what
// another renderer, on another thread or with another file under the same name, drew first.
std::vector<std::uint8_t> fullRender(const std::string& fontPath, const std::string& text) {
  auto renderer = Orb::createTextRendererFromFile(fontPath.c_str(), nullptr, 30, 0, 0, 0, 0, 0,
                                                  0x00FFFFFF, 0, 0, nullptr);
  if (renderer == nullptr) return {};
  renderer->setLayout(Orb::LayoutEngine::Full, 2);
  Allocator allocator;
  Results results;
  if (!render(*renderer, text, allocator, results, 600, 200)) return {};
  return allocator.bytes;
}

TEST(TextRendererSharedShaping, RenderersOnSeveralThreadsDrawAsOneAlone) {
  const std::string text = "Shared faces \u05E9\u05DC\u05D5\u05DD, office affluent";
  const std::vector<std::uint8_t> alone = fullRender(TestFonts::kSans, text);
  ASSERT_FALSE(alone.empty());
  std::vector<std::vector<std::uint8_t>> drawn(4);
  std::vector<std::thread> threads;
  for (auto& out : drawn) {
    threads.emplace_back([&out, &text] {
      for (int i = 0; i < 3; ++i) out = fullRender(TestFonts::kSans, text);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const auto& out : drawn) EXPECT_TRUE(out == alone);
}

TEST(TextRendererSharedShaping, AFileReplacedUnderTheSameNameIsShapedAsTheNewFile) {
  namespace fs = std::filesystem;
  const fs::path path = fs::temp_directory_path() / ("quill-shaping-" + std::to_string(::getpid()) + ".ttf");
  const std::string text = "ffi office, flow";
  fs::copy_file(TestFonts::kSans, path, fs::copy_options::overwrite_existing);
  const std::vector<std::uint8_t> before = fullRender(path.string(), text);
  fs::copy_file(TestFonts::kSerif, path, fs::copy_options::overwrite_existing);
  const std::vector<std::uint8_t> after = fullRender(path.string(), text);
  fs::remove(path);
  EXPECT_TRUE(before == fullRender(TestFonts::kSans, text));
  EXPECT_TRUE(after == fullRender(TestFonts::kSerif, text));
}

}  // namespace
