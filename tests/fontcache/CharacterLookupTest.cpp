// The record of what each face covers, kept beside the face cache's own tables, and the
// search by character it serves.
#include "fontcache/CharacterLookup.h"

#include <gtest/gtest.h>

#include <memory>

#include "FontCacheTestSupport.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/CacheSchema.h"
#include "fontcache/CoverageSchema.h"
#include "fontcache/FontCacheRefresh.h"

using namespace FontCacheTest;

namespace {

const std::filesystem::path kNotoFolder = "/usr/share/fonts/truetype/noto";
const char* const kFacesAndCoverage =
    "SELECT f.file_name, f.face_index, f.timestamp, c.timestamp FROM face_v2 f"
    " LEFT JOIN face_coverage c USING (font_path_id, file_name, face_index)"
    " WHERE f.family IS NOT NULL ORDER BY 1, 2;";
const char* const kOrphanPages =
    "SELECT count(*) FROM face_coverage_page WHERE face_coverage_id NOT IN (SELECT face_coverage_id FROM face_coverage);";

class CharacterLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    Orb::ForgetFontCacheRefreshForTesting();
    RecordingLog_clear();
    copyFont(kDejaVuFolder / "DejaVuSans.ttf", fonts.path());
    copyFont(kDejaVuFolder / "DejaVuSans-Bold.ttf", fonts.path());
    copyFont(kCollectionFont, fonts.path());
    copyFont(kNotoFolder / "NotoSansArabic-Regular.ttf", fonts.path());
    setModificationTime(fonts.path(), 1000000000);
  }
  void TearDown() override { Orb::ForgetFontCacheRefreshForTesting(); }

  // A refresh as the first component of a new process makes it, on a new connection.
  bool refreshAsNewProcess() {
    Orb::ForgetFontCacheRefreshForTesting();
    cache = std::make_unique<Orb::CacheDatabase>();
    return Orb::RefreshFontCache(*cache, {fonts.entry()}, Orb::kFontCacheName);
  }

  // "file:index" of the face found, or "" when none is.
  std::string found(char32_t codePoint, bool bold = false, bool italic = false,
                    const std::vector<std::string>& families = {}) {
    Orb::FoundFace face;
    if (!Orb::FindFaceWithCharacter(*cache, codePoint, bold, italic, families, face)) return "";
    return face.path.substr(fonts.entry().size()) + ":" + std::to_string(face.faceIndex);
  }

  // "wqy-zenhei.ttc:N" for the collection's face of `family`.
  std::string collectionFace(const std::string& family) {
    SqliteFile file(data.cacheFile());
    return "wqy-zenhei.ttc:" + file.value("SELECT face_index FROM face_v2 WHERE family = '" + family + "';");
  }

  DataFolderOverride data;
  TemporaryFolder fonts;
  std::unique_ptr<Orb::CacheDatabase> cache;
};

TEST_F(CharacterLookup, FacesRankByStyleThenTheGivenFamiliesThenThePreferenceOrder) {
  ASSERT_TRUE(refreshAsNewProcess());
  EXPECT_EQ(found(U'日'), collectionFace("WenQuanYi Zen Hei")) << "family name decides among the rest";
  EXPECT_EQ(found(U'日', true, true), collectionFace("WenQuanYi Zen Hei")) << "no face has the style";
  EXPECT_EQ(found(U'A'), "DejaVuSans.ttf:0");
  EXPECT_EQ(found(U'A', true), "DejaVuSans-Bold.ttf:0");
  EXPECT_EQ(found(U'A', false, true), "DejaVuSans.ttf:0") << "bold gives way before italic";
  EXPECT_EQ(found(U'A', false, false, {"Nowhere", "wenquanyi zen hei sharp", "WenQuanYi Zen Hei"}),
            collectionFace("WenQuanYi Zen Hei Sharp"));
  EXPECT_EQ(found(U'A', true, false, {"WenQuanYi Zen Hei"}), "DejaVuSans-Bold.ttf:0") << "style first";
  EXPECT_EQ(found(U'\u0627'), "NotoSansArabic-Regular.ttf:0") << "Noto Sans before DejaVu Sans";
  EXPECT_EQ(found(U'\u0627', true), "DejaVuSans-Bold.ttf:0");
  EXPECT_EQ(found(U'\u0378'), "") << "unassigned";
  EXPECT_EQ(found(0x10FFFF), "");
}

TEST_F(CharacterLookup, CacheFileStillServesTheFaceCacheAsSpecifiedAndIsIntact) {
  ASSERT_TRUE(refreshAsNewProcess());
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.value("PRAGMA integrity_check;"), "ok");
  EXPECT_EQ(file.exec(Orb::kCacheSchemaScript), SQLITE_OK);
  for (std::size_t i = 0; i < Orb::kCacheStatementCount; ++i)
    EXPECT_TRUE(file.compiles(Orb::kCacheStatements[i].sql)) << Orb::kCacheStatements[i].name;
  EXPECT_EQ(file.value("SELECT count(*) FROM face_coverage;"),
            file.value("SELECT count(*) FROM face_v2 WHERE family IS NOT NULL;"));
  // One page of one character: the query never walks the faces.
  std::string plan;
  for (const auto& step : file.rows(std::string("EXPLAIN QUERY PLAN ") + Orb::kFindFaceWithCharacter.sql))
    plan += step.back() + "\n";
  EXPECT_NE(plan.find("face_coverage_page USING PRIMARY KEY (page=?)"), std::string::npos) << plan;
}

TEST_F(CharacterLookup, OlderFileGainsCoverageAtTheNextRefreshWithoutLosingRowsOrScanning) {
  ASSERT_TRUE(refreshAsNewProcess());
  Rows paths, faces;
  {
    SqliteFile file(data.cacheFile());
    for (std::size_t i = 0; i < Orb::kCoverageSchemaObjectCount; ++i)
      ASSERT_EQ(file.exec(std::string("DROP TABLE ") + Orb::kCoverageSchemaObjects[i].name), SQLITE_OK);
    paths = file.rows("SELECT * FROM font_path ORDER BY 1;");
    faces = file.rows("SELECT * FROM face_v2 ORDER BY file_name, face_index;");
  }
  RecordingLog_clear();
  ASSERT_TRUE(refreshAsNewProcess());
  EXPECT_EQ(triesOf(), 0) << "coverage is read without scanning the folder again";
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.rows("SELECT * FROM font_path ORDER BY 1;"), paths);
  EXPECT_EQ(file.rows("SELECT * FROM face_v2 ORDER BY file_name, face_index;"), faces);
  for (const auto& face : file.rows(kFacesAndCoverage)) EXPECT_EQ(face[2], face[3]) << face[0];
  EXPECT_EQ(found(U'日'), collectionFace("WenQuanYi Zen Hei"));
}

TEST_F(CharacterLookup, CoverageFollowsChangedAndRemovedFaces) {
  ASSERT_TRUE(refreshAsNewProcess());
  // An earlier release found the folder changed and read it again: new times everywhere,
  // and no coverage read at them.
  setModificationTime(fonts.path(), 1000000010);
  {
    SqliteFile file(data.cacheFile());
    ASSERT_EQ(file.exec("UPDATE font_path SET timestamp = 1000000010;"
                        "UPDATE face_v2 SET timestamp = timestamp + 1 WHERE file_name = 'NotoSansArabic-Regular.ttf';"),
              SQLITE_OK);
  }
  EXPECT_EQ(found(U'\u0627'), "DejaVuSans.ttf:0") << "stale coverage is not used";
  RecordingLog_clear();
  ASSERT_TRUE(refreshAsNewProcess());
  EXPECT_EQ(triesOf(), 0) << "the folder is not scanned again";
  EXPECT_EQ(found(U'\u0627'), "NotoSansArabic-Regular.ttf:0");

  std::filesystem::remove(fonts.path() / "wqy-zenhei.ttc");
  copyFont(kDejaVuFolder / "DejaVuSerif.ttf", fonts.path(), "DejaVuSans-Bold.ttf");
  setModificationTime(fonts.path() / "DejaVuSans-Bold.ttf", 1000000050);
  setModificationTime(fonts.path(), 1000000100);
  ASSERT_TRUE(refreshAsNewProcess());
  EXPECT_EQ(found(U'日'), "");
  EXPECT_EQ(found(U'A', true), "DejaVuSans.ttf:0") << "the file now holds an upright serif";
  SqliteFile file(data.cacheFile());
  const Rows faces = file.rows(kFacesAndCoverage);
  EXPECT_EQ(faces.size(), 3u);
  for (const auto& face : faces) EXPECT_EQ(face[2], face[3]) << face[0];
  EXPECT_EQ(file.value("SELECT count(*) FROM face_coverage;"), "3");
  EXPECT_EQ(file.value(kOrphanPages), "0");
}

}  // namespace
