#include "fontcache/FontCacheRefresh.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "FontCacheTestSupport.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/FaceLookup.h"

using namespace FontCacheTest;

namespace {

const char* const kAllPaths = "SELECT font_path_id, path, timestamp, touched FROM font_path ORDER BY 1;";
const char* const kAllFaces =
    "SELECT font_path_id, file_name, timestamp, family, face_index, bold, italic, touched"
    " FROM face_v2 ORDER BY file_name, face_index;";

std::string foundPath(Orb::CacheDatabase& cache, const char* family, unsigned char bold = 0,
                      unsigned char italic = 0) {
  char* path = nullptr;
  std::int64_t index = 0;
  if (Orb::kFaceCacheCallbacks.findFace(family, bold, italic, &cache, &path, &index) != 1) return "";
  std::string copy = path;
  std::free(path);
  return copy;
}

class FontCacheRefresh : public ::testing::Test {
 protected:
  void SetUp() override {
    Orb::ForgetFontCacheRefreshForTesting();
    RecordingLog_clear();
    copyFont(kDejaVuFolder / "DejaVuSans.ttf", fonts.path());
    copyFont(kDejaVuFolder / "DejaVuSans-Bold.ttf", fonts.path());
    setModificationTime(fonts.path(), 1000000000);
  }
  void TearDown() override { Orb::ForgetFontCacheRefreshForTesting(); }

  bool refresh(Orb::CacheDatabase& cache) {
    return Orb::RefreshFontCache(cache, {fonts.entry()}, Orb::kFontCacheName);
  }
  // A component's refresh that leaves no connection open.
  bool refreshOnce() {
    Orb::CacheDatabase cache;
    return refresh(cache);
  }
  // The folder changed, within the file system's one-second resolution.
  void touchFolder(std::int64_t seconds) { setModificationTime(fonts.path(), seconds); }

  DataFolderOverride data;
  TemporaryFolder fonts;
};

TEST_F(FontCacheRefresh, RecordsTheFolderAndItsFacesWithForwardSlashes) {
  Orb::CacheDatabase cache;
  ASSERT_TRUE(refresh(cache));
  EXPECT_EQ(foundPath(cache, "DejaVu Sans"), fonts.entry() + "DejaVuSans.ttf");
  EXPECT_EQ(foundPath(cache, "DejaVu Sans", 1), fonts.entry() + "DejaVuSans-Bold.ttf");
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.rows(kAllPaths), (Rows{{"1", fonts.entry(), "1000000000", "1"}}));
  EXPECT_EQ(file.value("SELECT count(*) FROM face_v2;"), "2");
}

TEST_F(FontCacheRefresh, SecondComponentOfTheProcessScansNothingButCanLookUp) {
  ASSERT_TRUE(refreshOnce());
  const int tried = triesOf();
  EXPECT_EQ(tried, 2);
  touchFolder(1000000100);  // even a changed folder waits for the next process
  Orb::CacheDatabase second;
  ASSERT_TRUE(refresh(second));
  EXPECT_EQ(triesOf(), tried);
  EXPECT_EQ(foundPath(second, "DejaVu Sans"), fonts.entry() + "DejaVuSans.ttf");
}

TEST_F(FontCacheRefresh, NewProcessWithNothingChangedKeepsBothTables) {
  ASSERT_TRUE(refreshOnce());
  Rows paths, faces;
  {
    SqliteFile file(data.cacheFile());
    paths = file.rows(kAllPaths);
    faces = file.rows(kAllFaces);
  }
  const std::string counter = changeCounter(data.cacheFile());
  Orb::ForgetFontCacheRefreshForTesting();
  RecordingLog_clear();
  ASSERT_TRUE(refreshOnce());
  EXPECT_EQ(triesOf(), 0);
  EXPECT_EQ(changeCounter(data.cacheFile()), counter) << "nothing was written";
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.rows(kAllPaths), paths);
  EXPECT_EQ(file.rows(kAllFaces), faces);
}

TEST_F(FontCacheRefresh, UnchangedFoldersStillSweepWhatLeftTheListOrWasLeftUnmarked) {
  TemporaryFolder other;
  copyFont(kDejaVuFolder / "DejaVuSerif.ttf", other.path());
  {
    Orb::CacheDatabase both;
    ASSERT_TRUE(Orb::RefreshFontCache(both, {fonts.entry(), other.entry()}, Orb::kFontCacheName));
  }
  const auto newProcessRefresh = [&] {
    Orb::ForgetFontCacheRefreshForTesting();
    return refreshOnce();
  };

  ASSERT_TRUE(newProcessRefresh());  // the other folder left the list
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.value("SELECT count(*) FROM font_path;"), "1");
  {
    Orb::CacheDatabase cache;
    ASSERT_TRUE(refresh(cache));
    EXPECT_EQ(foundPath(cache, "DejaVu Serif"), "");
  }

  // Rows left unmarked by someone else's interrupted work are swept as a full refresh would.
  ASSERT_EQ(file.exec("INSERT INTO font_path (path, touched) VALUES ('/elsewhere/', 0);"
                      "INSERT INTO face_v2 (font_path_id, file_name, family, touched) VALUES (1, 'x.ttf', 'X', 0);"),
            SQLITE_OK);
  ASSERT_TRUE(newProcessRefresh());
  EXPECT_EQ(file.value("SELECT count(*) FROM font_path;"), "1");
  EXPECT_EQ(file.value("SELECT count(*) FROM face_v2 WHERE touched = 0;"), "0");
  ASSERT_EQ(file.exec("UPDATE font_path SET touched = 0;"), SQLITE_OK);
  ASSERT_TRUE(newProcessRefresh());
  EXPECT_EQ(file.rows("SELECT path, touched FROM font_path;"), (Rows{{fonts.entry(), "1"}}));
  EXPECT_EQ(triesOf(), 3) << "only the first refresh read fonts";
}

TEST_F(FontCacheRefresh, ChangedFolderIsReadAgainAndEveryFaceAppearsOnceUnderItsIndex) {
  ASSERT_TRUE(refreshOnce());
  copyFont(kCollectionFont, fonts.path());
  touchFolder(1000000100);
  Orb::ForgetFontCacheRefreshForTesting();
  ASSERT_TRUE(refreshOnce());

  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.rows(kAllPaths), (Rows{{"1", fonts.entry(), "1000000100", "1"}}));
  EXPECT_EQ(file.value("SELECT count(*) FROM (SELECT 1 FROM face_v2 GROUP BY file_name, face_index"
                       " HAVING count(*) > 1);"),
            "0");
  const std::int64_t collectionFaces = faceCount(kCollectionFont);
  EXPECT_EQ(file.value("SELECT count(*) FROM face_v2;"), std::to_string(2 + collectionFaces));

  // Each face of the collection is found under its own index.
  Orb::CacheDatabase cache;
  ASSERT_TRUE(refresh(cache));
  const Rows faces = file.rows("SELECT family, face_index FROM face_v2 WHERE file_name = 'wqy-zenhei.ttc'"
                               " ORDER BY face_index;");
  ASSERT_EQ(static_cast<std::int64_t>(faces.size()), collectionFaces);
  for (const auto& face : faces) {
    char* path = nullptr;
    std::int64_t index = -1;
    ASSERT_EQ(Orb::kFaceCacheCallbacks.findFace(face[0].c_str(), 0, 0, &cache, &path, &index), 1);
    EXPECT_EQ(std::to_string(index), face[1]);
    EXPECT_EQ(path, fonts.entry() + "wqy-zenhei.ttc");
    std::free(path);
  }
}

TEST_F(FontCacheRefresh, FacesAreRecordedOnlyUnderTheirFolderRowAndOnlyDuringTheScan) {
  {
    Orb::CacheDatabase cache;
    ASSERT_TRUE(Orb::RefreshFontCache(cache, {fonts.path().string()}, Orb::kFontCacheName));
  }
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.rows("SELECT path FROM font_path;"), (Rows{{fonts.path().string()}}));
  EXPECT_EQ(file.value("SELECT count(*) FROM face_v2;"), "0") << "the files' folder has no row";
  EXPECT_EQ(triesOf(), 2);

  Orb::ForgetFontCacheRefreshForTesting();
  Orb::CacheDatabase cache;
  ASSERT_TRUE(refresh(cache));
  EXPECT_EQ(file.value("SELECT count(*) FROM face_v2;"), "2");
  // Once the scan is over, a file is recorded only while its folder still has its row.
  const std::string recorded = fonts.file("DejaVuSans.ttf");
  const std::int64_t time = std::stoll(file.value("SELECT timestamp FROM face_v2 WHERE file_name = 'DejaVuSans.ttf';"));
  ASSERT_EQ(Orb::kFaceCacheCallbacks.isFaceCached(recorded.c_str(), time, &cache), 1);
  ASSERT_EQ(file.exec("DELETE FROM font_path;"), SQLITE_OK);
  EXPECT_EQ(Orb::kFaceCacheCallbacks.isFaceCached(recorded.c_str(), time, &cache), -1);
  EXPECT_EQ(Orb::kFaceCacheCallbacks.insertFace(fonts.file("late.ttf").c_str(), 1, "Late", 0, 0, 0, &cache), -1);
}

TEST_F(FontCacheRefresh, RejectedFileIsTriedOnceAcrossRefreshes) {
  writeFile(fonts.path(), "broken.TTF", "garbage");
  touchFolder(1000000000);
  ASSERT_TRUE(refreshOnce());
  touchFolder(1000000100);
  Orb::ForgetFontCacheRefreshForTesting();
  ASSERT_TRUE(refreshOnce());
  EXPECT_EQ(triesOf(fonts.entry() + "broken.TTF"), 1);
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.rows("SELECT family, face_index, timestamp FROM face_v2 WHERE file_name = 'broken.TTF';"),
            (Rows{{"NULL", "-1", "0"}}));
}

TEST_F(FontCacheRefresh, EmptyListOpensNothingAndLeavesTheFlag) {
  Orb::CacheDatabase idle;
  EXPECT_TRUE(Orb::RefreshFontCache(idle, {}, Orb::kFontCacheName));
  EXPECT_TRUE(Orb::RefreshFontCache(idle, {fonts.entry()}, ""));
  EXPECT_FALSE(idle.isOpen());
  EXPECT_FALSE(std::filesystem::exists(data.cacheFile()));
  ASSERT_TRUE(refreshOnce());
  EXPECT_EQ(triesOf(), 2);
}

TEST_F(FontCacheRefresh, InMemoryFallbackIsFilledEvenAfterTheFileWasRefreshed) {
  ASSERT_TRUE(refreshOnce());
  data.makeUnusable();
  Orb::CacheDatabase fallback;
  ASSERT_TRUE(refresh(fallback));
  EXPECT_FALSE(fallback.isFileBacked());
  EXPECT_EQ(foundPath(fallback, "DejaVu Sans"), fonts.entry() + "DejaVuSans.ttf");
}

TEST_F(FontCacheRefresh, DamagedCacheFileRecovers) {
  ASSERT_TRUE(refreshOnce());
  writeFile(data.cacheFile().parent_path(), Orb::kFontCacheName, std::string(8192, '\x01'));
  Orb::ForgetFontCacheRefreshForTesting();
  Orb::CacheDatabase cache;
  ASSERT_TRUE(refresh(cache));
  EXPECT_TRUE(cache.isFileBacked());
  EXPECT_EQ(foundPath(cache, "DejaVu Sans"), fonts.entry() + "DejaVuSans.ttf");
}

TEST_F(FontCacheRefresh, FailedCommitKeepsNothingAndLetsTheNextRefreshRun) {
  ASSERT_TRUE(refreshOnce());
  {
    // A file whose insert ends the transaction under the refresh, so its commit fails.
    SqliteFile file(data.cacheFile());
    ASSERT_EQ(file.exec("CREATE TRIGGER sabotage BEFORE INSERT ON face_v2 WHEN NEW.file_name = 'poison.ttf'"
                        " BEGIN SELECT RAISE(ROLLBACK, 'sabotage'); END;"),
              SQLITE_OK);
  }
  const std::string before = SqliteFile(data.cacheFile()).value("SELECT count(*) FROM face_v2;");
  copyFont(kDejaVuFolder / "DejaVuSerif.ttf", fonts.path(), "poison.ttf");
  // Files scanned after the one that ended the transaction must not be stored one by one.
  copyFont(kDejaVuFolder / "DejaVuSerif.ttf", fonts.path(), "after-poison-1.ttf");
  copyFont(kDejaVuFolder / "DejaVuSerif.ttf", fonts.path(), "zz-after-poison-2.ttf");
  touchFolder(1000000100);
  Orb::ForgetFontCacheRefreshForTesting();
  EXPECT_FALSE(refreshOnce());
  {
    SqliteFile file(data.cacheFile());
    EXPECT_EQ(file.value("SELECT count(*) FROM face_v2;"), before);
    ASSERT_EQ(file.exec("DROP TRIGGER sabotage;"), SQLITE_OK);
    std::filesystem::remove(fonts.path() / "after-poison-1.ttf");
    std::filesystem::remove(fonts.path() / "zz-after-poison-2.ttf");
  }
  touchFolder(1000000200);
  RecordingLog_clear();
  Orb::CacheDatabase cache;
  ASSERT_TRUE(refresh(cache));
  EXPECT_GT(triesOf(), 0);  // the failed refresh did not count as done
  EXPECT_EQ(foundPath(cache, "DejaVu Serif"), fonts.entry() + "poison.ttf");
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.value("SELECT count(*) FROM font_path;"), "1");
  EXPECT_EQ(file.value("SELECT count(*) FROM face_v2;"), "3");
}

}  // namespace
