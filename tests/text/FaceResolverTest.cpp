#include "text/FaceResolver.h"

#include "text/FontResolution.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/text/TestFonts.h"

namespace {

// A face lookup that records every question and finds only what it was told to.
struct LookupStub : Orb::FaceLookup {
  std::vector<std::tuple<std::string, int, int>> asked;
  int answerBold = -1;  // style that is "found"; -1 = nothing
  int answerItalic = -1;
  std::string path = TestFonts::kSans;
  std::int64_t faceIndex = 0;

  bool findFace(const std::string& family, bool bold, bool italic,
                Orb::FaceLocation& location) override {
    asked.emplace_back(family, bold, italic);
    if (bold != answerBold || italic != answerItalic) return false;
    location.path = path;
    location.faceIndex = faceIndex;
    return true;
  }
};

class FaceResolution : public ::testing::Test {
 protected:

  static std::shared_ptr<Orb::FontRecord> record(const char* family, int bold, int italic) {
    auto r = std::make_shared<Orb::FontRecord>();
    if (family != nullptr) r->family = family;
    r->bold = static_cast<std::uint8_t>(bold);
    r->italic = static_cast<std::uint8_t>(italic);
    return r;
  }

  bool resolve(Orb::FontRecord& r) { return fonts.resolver.resolve(r); }

  LookupStub stub;
  TestFonts::FontBench fonts{&stub};
};

TEST_F(FaceResolution, LookupRelaxesItalicThenBoldAndShearsTheUprightFace) {
  stub.answerBold = 0;
  stub.answerItalic = 0;
  auto r = record("Stub Family", 1, 1);
  ASSERT_TRUE(resolve(*r));
  using Q = std::tuple<std::string, int, int>;
  EXPECT_EQ(stub.asked, (std::vector<Q>{{"Stub Family", 1, 1}, {"Stub Family", 1, 0},
                                        {"Stub Family", 0, 0}}));
  EXPECT_EQ(r->transform.xy, Orb::kSyntheticItalicShear);
  EXPECT_EQ(r->transform.xx, 0x10000);
  EXPECT_TRUE(r->loadFlags & FT_LOAD_NO_BITMAP);
}

TEST_F(FaceResolution, LookupStopsAtTheFirstAnswerAndRealItalicIsNotSheared) {
  stub.answerBold = 1;
  stub.answerItalic = 1;
  stub.path = TestFonts::kDir + "DejaVuSans-BoldOblique.ttf";
  auto r = record("Stub Family", 1, 1);
  ASSERT_TRUE(resolve(*r));
  EXPECT_EQ(stub.asked.size(), 1u);
  EXPECT_EQ(r->transform.xy, 0);
  EXPECT_EQ(r->loadFlags, 0);

  stub.asked.clear();
  auto missing = record("Nowhere", 1, 0);
  EXPECT_FALSE(resolve(*missing));
  EXPECT_EQ(stub.asked.size(), 2u) << "bold relaxed once, no italic to relax";
  EXPECT_EQ(missing->face, nullptr);
}

TEST_F(FaceResolution, OwnFileMustMatchFamilyAndStyleExactly) {
  auto upright = record("DejaVu Sans", 0, 0);
  upright->path = TestFonts::kSans;
  ASSERT_TRUE(resolve(*upright));
  EXPECT_TRUE(stub.asked.empty());

  auto bold = record("DejaVu Sans", 1, 0);
  bold->path = TestFonts::kSans;
  EXPECT_FALSE(resolve(*bold));
  ASSERT_EQ(stub.asked.size(), 2u) << "the lookup was asked instead";

  auto caseDiffers = record("dejavu sans", 0, 0);
  caseDiffers->path = TestFonts::kSans;
  EXPECT_FALSE(resolve(*caseDiffers));

  auto italicWithoutFamily = record(nullptr, 0, 1);
  italicWithoutFamily->path = TestFonts::kSans;
  ASSERT_TRUE(resolve(*italicWithoutFamily));
  EXPECT_EQ(italicWithoutFamily->transform.xy, 0) << "a face from the own file is never sheared";
}

TEST_F(FaceResolution, SelectsAFaceInsideACollectionByFamily) {
  FT_Face probe = nullptr;
  ASSERT_EQ(FT_New_Face(fonts.library.handle(), TestFonts::kCollection.c_str(), 1, &probe), 0);
  const std::string secondFamily = probe->family_name;
  FT_Done_Face(probe);

  auto first = record(nullptr, 1, 0);
  first->path = TestFonts::kCollection;
  ASSERT_TRUE(resolve(*first));
  EXPECT_EQ(first->face->handle()->face_index, 0);

  auto second = record(secondFamily.c_str(), 0, 0);
  second->path = TestFonts::kCollection;
  ASSERT_TRUE(resolve(*second));
  EXPECT_EQ(second->face->handle()->face_index, 1);
}

TEST_F(FaceResolution, FontBytesInMemoryAreSearchedLikeAFile) {
  auto data = std::make_shared<Orb::FontData>();
  data->bytes = TestFonts::readFile(TestFonts::kSansBold);
  auto r = record("DejaVu Sans", 1, 0);
  r->data = data;
  ASSERT_TRUE(resolve(*r));
  EXPECT_TRUE(r->face->handle()->style_flags & FT_STYLE_FLAG_BOLD);

  auto empty = record(nullptr, 0, 0);
  empty->data = std::make_shared<Orb::FontData>();
  EXPECT_FALSE(resolve(*empty));
}

TEST_F(FaceResolution, CollectionsAreSearchedOnlyUpToTheIndexCap) {
  const auto regular = TestFonts::readFile(TestFonts::kSans);
  const auto bold = TestFonts::readFile(TestFonts::kSansBold);
  auto resolveBoldAt = [&](std::size_t faces, std::size_t boldIndex) {
    std::vector<std::size_t> faceFile(faces, 0);
    faceFile[boldIndex] = 1;
    auto data = std::make_shared<Orb::FontData>();
    data->bytes = TestFonts::buildCollection({regular, bold}, faceFile);
    // FreeType believes a face count only when the file could hold that many faces.
    data->bytes.resize(std::max(data->bytes.size(), faces * 40));
    FT_Face probe = nullptr;
    EXPECT_EQ(FT_New_Memory_Face(fonts.library.handle(), data->bytes.data(),
                                 static_cast<FT_Long>(data->bytes.size()), -1, &probe), 0);
    if (probe != nullptr) {
      EXPECT_EQ(probe->num_faces, static_cast<FT_Long>(faces));
      FT_Done_Face(probe);
    }
    auto r = record("DejaVu Sans", 1, 0);
    r->data = data;
    return resolve(*r);
  };
  EXPECT_TRUE(resolveBoldAt(300, 10));
  EXPECT_FALSE(resolveBoldAt(300, Orb::kMaxFaceIndicesTried));
  // A file claiming many faces costs no more than the cap (it used to try them all).
  EXPECT_FALSE(resolveBoldAt(200000, 199999));
}

// Face resolution as a stage: every request of a subtitle gets a font before layout.
TEST_F(FaceResolution, RequestsThatCannotBeHadDrawWithTheirParentsFont) {
  stub.answerBold = 1;
  stub.answerItalic = 0;
  stub.path = TestFonts::kSansBold;
  auto base = std::make_shared<Orb::FontRecord>();
  base->family = "DejaVu Sans";
  base->path = TestFonts::kSans;
  ASSERT_TRUE(resolve(*base));
  std::vector<Orb::FontRequest> requests(6);
  requests[1] = {0, std::nullopt, 1, 0};                     // bold: found
  requests[2] = {1, std::string("Nowhere"), 0, 0};            // not found: the bold font
  requests[3] = {2, std::nullopt, 1, 0};                     // bold of the stand-in: found
  requests[4] = {0, std::nullopt, 1, 0};                     // the same as 1
  requests[5] = {0, std::string("Nowhere"), 0, 0};            // as 2, from another parent
  const Orb::ResolvedFonts resolved = Orb::resolveFonts(requests, base, fonts.resolver);
  ASSERT_EQ(resolved.ofRequest.size(), 6u);
  EXPECT_EQ(resolved.ofRequest[0], base);
  EXPECT_TRUE(resolved.ofRequest[1]->face->handle()->style_flags & FT_STYLE_FLAG_BOLD);
  EXPECT_EQ(resolved.ofRequest[2], resolved.ofRequest[1]);
  EXPECT_EQ(resolved.ofRequest[3], resolved.ofRequest[1]) << "derived from the stand-in";
  EXPECT_EQ(resolved.ofRequest[4], resolved.ofRequest[1]) << "an equal request is resolved once";
  EXPECT_EQ(resolved.ofRequest[5], base) << "a failure stands in with its own parent";
  EXPECT_EQ(stub.asked.size(), 2u) << "the bold face and Nowhere, once each";
}

}  // namespace
