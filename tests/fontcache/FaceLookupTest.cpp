#include "fontcache/FaceLookup.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "FontCacheTestSupport.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/CacheSchema.h"

using namespace FontCacheTest;

namespace {

const Orb::FaceCacheCallbacks& callbacks = Orb::kFaceCacheCallbacks;

struct Found {
  int result = 0;
  std::string path;
  std::int64_t index = -2;
};

class FaceLookup : public ::testing::Test {
 protected:
  void SetUp() override { open(Orb::kInMemoryCacheName); }

  void open(const char* name) {
    ASSERT_TRUE(cache.OpenInDataFolder(name, Orb::kCacheSchemaScript));
    cache.PrepareStatements();
    ASSERT_TRUE(cache.database().ExecSQL("INSERT INTO font_path (path) VALUES ('/fonts/');"));
  }

  int insert(const char* file, const char* family, std::int64_t index, unsigned char bold,
             unsigned char italic, std::int64_t timestamp = 100) {
    return callbacks.insertFace((std::string("/fonts/") + file).c_str(), timestamp, family, index,
                                bold, italic, &cache);
  }

  Found find(const char* family, unsigned char bold, unsigned char italic) {
    Found found;
    char* path = nullptr;
    found.result = callbacks.findFace(family, bold, italic, &cache, &path, &found.index);
    if (path) found.path = path;
    std::free(path);
    return found;
  }

  Orb::CacheDatabase cache;
};

TEST_F(FaceLookup, EveryStyleOfAFullFamilyIsFoundExactly) {
  ASSERT_EQ(insert("r.ttf", "Full", 0, 0, 0), 1);
  ASSERT_EQ(insert("b.ttf", "Full", 0, 1, 0), 1);
  ASSERT_EQ(insert("i.ttf", "Full", 0, 0, 1), 1);
  ASSERT_EQ(insert("bi.ttf", "Full", 0, 1, 1), 1);
  EXPECT_EQ(find("Full", 0, 0).path, "/fonts/r.ttf");
  EXPECT_EQ(find("Full", 1, 0).path, "/fonts/b.ttf");
  EXPECT_EQ(find("Full", 0, 1).path, "/fonts/i.ttf");
  EXPECT_EQ(find("Full", 1, 1).path, "/fonts/bi.ttf");
  // Only 1 counts as set.
  EXPECT_EQ(find("Full", 2, 255).path, "/fonts/r.ttf");
}

TEST_F(FaceLookup, StyleGivesWayBoldFirstThenItalic) {
  ASSERT_EQ(insert("bold.ttf", "OnlyBold", 3, 1, 0), 1);
  const Found regular = find("OnlyBold", 0, 0);
  EXPECT_EQ(regular.result, 1);
  EXPECT_EQ(regular.path, "/fonts/bold.ttf");
  EXPECT_EQ(regular.index, 3);
  EXPECT_EQ(find("OnlyBold", 1, 1).path, "/fonts/bold.ttf");
  EXPECT_EQ(find("OnlyBold", 0, 1).path, "/fonts/bold.ttf");

  ASSERT_EQ(insert("italic.ttf", "TwoStyles", 0, 0, 1), 1);
  ASSERT_EQ(insert("bolditalic.ttf", "TwoStyles", 0, 1, 1), 1);
  // (0,0) -> (1,0) misses -> (0,1) hits before (1,1).
  EXPECT_EQ(find("TwoStyles", 0, 0).path, "/fonts/italic.ttf");
}

TEST_F(FaceLookup, FirstRecordedFaceOfAStyleWinsAndFacesOfRemovedFoldersAreSkipped) {
  ASSERT_EQ(insert("first.ttf", "Twice", 0, 0, 0), 1);
  ASSERT_EQ(insert("second.ttf", "Twice", 0, 0, 0), 1);
  EXPECT_EQ(find("Twice", 0, 0).path, "/fonts/first.ttf");
  EXPECT_EQ(find("Twice", 1, 1).path, "/fonts/first.ttf");

  ASSERT_TRUE(cache.database().ExecSQL("INSERT INTO font_path (path) VALUES ('/gone/');"));
  ASSERT_EQ(callbacks.insertFace("/gone/exact.ttf", 1, "Moved", 0, 1, 1, &cache), 1);
  ASSERT_EQ(insert("italic.ttf", "Moved", 0, 0, 1), 1);
  ASSERT_TRUE(cache.database().ExecSQL("DELETE FROM font_path WHERE path = '/gone/';"));
  EXPECT_EQ(find("Moved", 1, 1).path, "/fonts/italic.ttf");

  // A flag stored as anything but 0 or 1 matches no request.
  ASSERT_TRUE(cache.database().ExecSQL(
      "INSERT INTO face_v2 (font_path_id, file_name, family, face_index, bold, italic)"
      " VALUES (1, 'odd.ttf', 'Odd', 0, 2, 0);"));
  EXPECT_EQ(find("Odd", 0, 0).result, -1);
  EXPECT_EQ(find("Odd", 1, 0).result, -1);
}

TEST_F(FaceLookup, FamilyMustMatchExactly) {
  ASSERT_EQ(insert("a.ttf", "DejaVu Sans", 0, 0, 0), 1);
  ASSERT_EQ(insert("broken.ttf", nullptr, -1, 0, 0, 0), 1);
  EXPECT_EQ(find("dejavu sans", 0, 0).result, -1);
  EXPECT_EQ(find("DejaVu", 0, 0).result, -1);
  const Found none = find(nullptr, 0, 0);
  EXPECT_EQ(none.result, -1);
  EXPECT_EQ(none.index, -2);
}

TEST_F(FaceLookup, NullOutPointersAreRefusedWithoutWriting) {
  ASSERT_EQ(insert("a.ttf", "A", 0, 0, 0), 1);
  char* path = reinterpret_cast<char*>(&cache);
  std::int64_t index = 42;
  EXPECT_EQ(callbacks.findFace("A", 0, 0, &cache, nullptr, &index), -1);
  EXPECT_EQ(index, 42);
  EXPECT_EQ(callbacks.findFace("A", 0, 0, &cache, &path, nullptr), -1);
  EXPECT_EQ(path, reinterpret_cast<char*>(&cache));
}

TEST_F(FaceLookup, IsFaceCachedCountsRowsOfThatTimeAndMarksThem) {
  ASSERT_EQ(insert("c.ttc", "C", 0, 0, 0, 500), 1);
  ASSERT_EQ(insert("c.ttc", "C", 1, 1, 0, 500), 1);
  ASSERT_TRUE(cache.database().ExecSQL("UPDATE face_v2 SET touched = 0;"));
  EXPECT_EQ(callbacks.isFaceCached("/fonts/c.ttc", 501, &cache), -1);
  EXPECT_EQ(callbacks.isFaceCached("/fonts/missing.ttf", 500, &cache), -1);
  ASSERT_TRUE(cache.database().ExecSQL("DELETE FROM face_v2 WHERE touched = 0;"));
  EXPECT_EQ(callbacks.isFaceCached("/fonts/c.ttc", 500, &cache), -1);  // swept: nothing marked

  ASSERT_EQ(insert("c.ttc", "C", 0, 0, 0, 500), 1);
  ASSERT_EQ(insert("c.ttc", "C", 1, 1, 0, 500), 1);
  ASSERT_TRUE(cache.database().ExecSQL("UPDATE face_v2 SET touched = 0;"));
  EXPECT_EQ(callbacks.isFaceCached("/fonts/c.ttc", 500, &cache), 2);
  ASSERT_TRUE(cache.database().ExecSQL("DELETE FROM face_v2 WHERE touched = 0;"));
  EXPECT_EQ(find("C", 1, 0).index, 1);
}

TEST_F(FaceLookup, FilesOutsideARecordedFolderOrAnOpenCacheAreRefused) {
  Orb::CacheDatabase closed;
  EXPECT_EQ(callbacks.insertFace("/fonts/a.ttf", 1, "A", 0, 0, 0, &closed), -1);
  EXPECT_EQ(callbacks.isFaceCached("/fonts/a.ttf", 1, nullptr), -1);
  EXPECT_EQ(callbacks.insertFace("/elsewhere/a.ttf", 1, "A", 0, 0, 0, &cache), -1);
  EXPECT_EQ(callbacks.insertFace("/fonts", 1, "A", 0, 0, 0, &cache), -1);
  EXPECT_EQ(callbacks.isFaceCached("/elsewhere/a.ttf", 1, &cache), -1);
  EXPECT_EQ(find("A", 0, 0).result, -1);
}

TEST_F(FaceLookup, FolderIdNeedsExactlyOneRow) {
  std::int64_t id = -5;
  EXPECT_TRUE(Orb::GetFontPathId(cache.database(), "/fonts/", id));
  EXPECT_EQ(id, 1);
  id = -5;
  EXPECT_FALSE(Orb::GetFontPathId(cache.database(), "/fonts", id));
  ASSERT_TRUE(cache.database().ExecSQL("INSERT INTO font_path (path, timestamp) VALUES ('/fonts/', 9);"));
  EXPECT_FALSE(Orb::GetFontPathId(cache.database(), "/fonts/", id));
  EXPECT_EQ(id, -5);
}

class FaceLookupFile : public FaceLookup {
 protected:
  void SetUp() override { open(Orb::kFontCacheName); }
  DataFolderOverride data;
};

TEST_F(FaceLookupFile, LookupLeavesNoReadOpenOnTheFile) {
  // Two rows, so that the lookup stops before the statement's end.
  ASSERT_EQ(insert("a.ttf", "Twice", 0, 0, 0), 1);
  ASSERT_EQ(insert("b.ttf", "Twice", 0, 0, 0), 1);
  ASSERT_EQ(find("Twice", 0, 0).result, 1);
  // Another process commits at once instead of waiting for the lookup's read to end.
  SqliteFile other(data.cacheFile());
  EXPECT_EQ(other.exec("BEGIN IMMEDIATE; UPDATE font_path SET touched = 1; COMMIT;"), SQLITE_OK);
}

}  // namespace
