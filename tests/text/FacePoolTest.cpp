#include "text/FacePool.h"

#include <gtest/gtest.h>

#include "tests/text/RenderCorpus.h"
#include "tests/text/TestFonts.h"
#include "text/FaceResolver.h"
#include "text/FontRecord.h"
#include "text/TextRenderer.h"

namespace {

class FacePools : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(FT_Init_FreeType(&library), 0); }
  void TearDown() override {
    pool.reset(true);
    FT_Done_FreeType(library);
  }
  FT_Library library = nullptr;
  Orb::FacePool pool;
};

TEST_F(FacePools, SameSourceAndIndexShareOneFace) {
  const auto a = pool.openFile(library, TestFonts::kSans, 0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(pool.openFile(library, TestFonts::kSans, 0), a);
  EXPECT_NE(pool.openFile(library, TestFonts::kSansBold, 0), a);
  EXPECT_EQ(pool.openFile(library, "/no/such/font.ttf", 0), nullptr);
  EXPECT_EQ(pool.openFile(library, TestFonts::kSans, 5), nullptr) << "no such face in the file";

  auto data = std::make_shared<Orb::FontData>();
  data->bytes = TestFonts::readFile(TestFonts::kSans);
  const auto fromMemory = pool.openMemory(library, data, 0);
  ASSERT_NE(fromMemory, nullptr);
  EXPECT_NE(fromMemory, a) << "a file and bytes are different sources";
  EXPECT_EQ(pool.openMemory(library, data, 0), fromMemory);
  auto copy = std::make_shared<Orb::FontData>(*data);
  EXPECT_NE(pool.openMemory(library, copy, 0), fromMemory);
  EXPECT_NE(fromMemory->serial(), a->serial());

  data.reset();
  copy.reset();
  EXPECT_GT(fromMemory->handle()->num_glyphs, 0) << "the face keeps its bytes alive";
}

TEST_F(FacePools, KeepsOnlyALimitedNumberOfIdleFaces) {
  const auto font = TestFonts::readFile(TestFonts::kSans);
  auto data = std::make_shared<Orb::FontData>();
  data->bytes = TestFonts::buildCollection({font}, std::vector<std::size_t>(40, 0));
  const auto held = pool.openMemory(library, data, 0);
  for (FT_Long index = 1; index < 40; ++index) ASSERT_NE(pool.openMemory(library, data, index), nullptr);
  EXPECT_EQ(pool.openFaces(), Orb::FacePool::kIdleFaces + 2)
      << "the idle ones, the one held and the one opened last";
  EXPECT_EQ(pool.openMemory(library, data, 0), held) << "a face in use is never closed";
  const auto recent = pool.openMemory(library, data, 39);
  EXPECT_EQ(pool.openMemory(library, data, 39), recent);

  pool.reset(false);
  EXPECT_EQ(pool.openFaces(), 0u);
  const auto own = pool.openMemory(library, data, 0);
  EXPECT_NE(own, held) << "without sharing every open is a face of its own";
  EXPECT_EQ(pool.openFaces(), 0u);
}

int lookups = 0;
// Bold finds the bold file; italic only the upright one, which is then sheared.
TestFonts::FunctionLookup sansLookup([](const std::string&, bool bold, bool italic,
                                        Orb::FaceLocation& location) {
  ++lookups;
  if (bold && italic) return false;
  location.path = bold ? TestFonts::kSansBold : TestFonts::kSans;
  return true;
});

TEST(FaceSharing, MarkupPushesReuseOpenFacesAcrossSubtitles) {
  auto created = Orb::createTextRenderer("Sans", 22, 0, 0, 0, 0, 0, 0x00FFFFFF, 0, 0, &sansLookup);
  ASSERT_NE(created, nullptr);
  auto& renderer = static_cast<Orb::TextRenderer&>(*created);
  const RenderCorpus::RenderCase pushes(
      "<b>a</b><i>b</i><b>c<i>d</i></b><font face=\"Other\">e</font>");
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(RenderCorpus::render(renderer, pushes).rendered);
    EXPECT_EQ(renderer.openFaces(), 2u) << "the regular and the bold file, each parsed once";
  }
  EXPECT_EQ(lookups, 1 + 3 * 3) << "bold, italic and Other once per subtitle";

  TestFonts::FontBench fonts(&sansLookup);
  auto upright = std::make_shared<Orb::FontRecord>();
  upright->family = "Sans";
  ASSERT_TRUE(fonts.resolver.resolve(*upright));
  auto italic = upright->clone();
  italic->italic = 1;
  ASSERT_TRUE(fonts.resolver.resolve(*italic));
  EXPECT_EQ(italic->face, upright->face) << "sheared and upright share a face";
  EXPECT_EQ(italic->transform.xy, Orb::kSyntheticItalicShear);
  EXPECT_EQ(upright->transform.xy, 0);
}

}  // namespace
