#include "fontcache/CacheDatabase.h"

#include <gtest/gtest.h>

#include "FontCacheTestSupport.h"
#include "fontcache/CacheSchema.h"

using namespace FontCacheTest;

namespace {

bool openCache(Orb::CacheDatabase& cache) { return cache.OpenInDataFolder(Orb::kFontCacheName, Orb::kCacheSchemaScript); }

class CacheDatabaseFile : public ::testing::Test {
 protected:
  // Creates the cache file with its schema and lets it go; answers its folder.
  std::filesystem::path createdCacheFolder() {
    Orb::CacheDatabase first;
    EXPECT_TRUE(openCache(first));
    return data.cacheFile().parent_path();
  }

  DataFolderOverride data;
};

TEST_F(CacheDatabaseFile, FirstOpenCreatesFoldersFileAndSchema) {
  {
    Orb::CacheDatabase cache;
    ASSERT_TRUE(openCache(cache));
    EXPECT_TRUE(cache.isFileBacked());
    EXPECT_EQ(cache.targetPath(), data.cacheFile().string());
  }
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.rows("SELECT type, name FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' ORDER BY type, name;"),
            (Rows{{"index", "face_family"}, {"index", "face_path"}, {"table", "face_v2"},
                  {"table", "font_path"}, {"trigger", "face_v2_fkc"}, {"trigger", "on_font_path_delete"}}));
}

TEST_F(CacheDatabaseFile, DataFolderMissingOnAFreshAccountIsMadeForTheOwnerOnly) {
  namespace fs = std::filesystem;
  const fs::path fresh = data.path() / "account" / "share";  // as ~/.local/share can be
  ::setenv("XDG_DATA_HOME", fresh.c_str(), 1);
  {
    Orb::CacheDatabase cache;
    ASSERT_TRUE(openCache(cache));
    EXPECT_TRUE(cache.isFileBacked());
  }
  const fs::path file = fresh / "Omra" / "Omra Stream Engine" / "v3.1" / "Font Cache";
  EXPECT_TRUE(fs::is_regular_file(file));
  for (fs::path level = file.parent_path(); level != data.path(); level = level.parent_path())
    EXPECT_EQ(fs::status(level).permissions(), fs::perms::owner_all) << level;
}

TEST_F(CacheDatabaseFile, ReopeningKeepsRowsAndDropsOnlyTheOldFaceTable) {
  createdCacheFolder();
  {
    SqliteFile file(data.cacheFile());
    ASSERT_EQ(file.exec("CREATE TABLE face (x);"
                        "INSERT INTO font_path (path, timestamp) VALUES ('/fonts/', 7);"
                        "INSERT INTO face_v2 (font_path_id, file_name, family) VALUES (1, 'a.ttf', 'A');"),
              SQLITE_OK);
  }
  Orb::CacheDatabase cache;
  ASSERT_TRUE(openCache(cache));
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.value("SELECT count(*) FROM sqlite_master WHERE name = 'face';"), "0");
  EXPECT_EQ(file.rows("SELECT path, timestamp, touched FROM font_path;"), (Rows{{"/fonts/", "7", "1"}}));
  EXPECT_EQ(file.rows("SELECT file_name, family, face_index FROM face_v2;"), (Rows{{"a.ttf", "A", "-1"}}));
}

TEST_F(CacheDatabaseFile, SettledFileIsNotWrittenOnOpenButAnythingMissingIsMadeAgain) {
  createdCacheFolder();
  const std::string counter = changeCounter(data.cacheFile());
  {
    Orb::CacheDatabase cache;
    ASSERT_TRUE(openCache(cache));
    // The connection still gets its setting from the script.
    KTDSOLD::ColumnTable table;
    ASSERT_TRUE(cache.database().PrepareStatement("temp_store", "PRAGMA temp_store;", true));
    ASSERT_TRUE(cache.database().Query("temp_store", nullptr, &table));
    ASSERT_EQ(table["temp_store"].size(), 1u);
    EXPECT_EQ(table["temp_store"][0].GetInt64(), 2);  // MEMORY
  }
  EXPECT_EQ(changeCounter(data.cacheFile()), counter);

  {
    SqliteFile file(data.cacheFile());
    ASSERT_EQ(file.exec("DROP INDEX face_family; CREATE TABLE FACE (x);"), SQLITE_OK);
  }
  Orb::CacheDatabase cache;
  ASSERT_TRUE(openCache(cache));
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.value("SELECT count(*) FROM sqlite_master WHERE name = 'face_family';"), "1");
  EXPECT_EQ(file.value("SELECT count(*) FROM sqlite_master WHERE lower(name) = 'face';"), "0");
}

TEST_F(CacheDatabaseFile, OrphanFaceRollsBackItsTransaction) {
  Orb::CacheDatabase cache;
  ASSERT_TRUE(openCache(cache));
  SqliteFile file(data.cacheFile());
  ASSERT_EQ(file.exec("BEGIN; INSERT INTO font_path (path) VALUES ('/kept/');"), SQLITE_OK);
  EXPECT_EQ(file.exec("INSERT INTO face_v2 (font_path_id, file_name) VALUES (99, 'x.ttf');"), SQLITE_CONSTRAINT);
  EXPECT_NE(file.exec("COMMIT;"), SQLITE_OK);  // nothing left to commit
  EXPECT_EQ(file.value("SELECT count(*) FROM font_path;"), "0");
}

TEST_F(CacheDatabaseFile, InMemoryCacheTouchesNoFolder) {
  Orb::CacheDatabase cache;
  ASSERT_TRUE(cache.OpenInDataFolder(Orb::kInMemoryCacheName, Orb::kCacheSchemaScript));
  EXPECT_TRUE(cache.isOpen());
  EXPECT_FALSE(cache.isFileBacked());
  EXPECT_TRUE(std::filesystem::is_empty(data.path()));
}

TEST_F(CacheDatabaseFile, DamagedFileIsSetAsideAndReplaced) {
  const std::filesystem::path folder = createdCacheFolder();
  const std::string garbage(4096, '\x5a');
  writeFile(folder, Orb::kFontCacheName, garbage);
  writeFile(folder, "unrelated", "kept");
  {
    Orb::CacheDatabase cache;
    ASSERT_TRUE(openCache(cache));
    EXPECT_TRUE(cache.isFileBacked());
  }
  EXPECT_EQ(contentsOf(folder / "Font Cache.damaged"), garbage);
  EXPECT_EQ(contentsOf(folder / "unrelated"), "kept");
  {
    SqliteFile file(data.cacheFile());
    EXPECT_EQ(file.value("SELECT count(*) FROM pragma_table_info('face_v2');"), "8");
    // A database of someone else's making, under the same name, is set aside too.
    ASSERT_EQ(file.exec("DROP TABLE face_v2; CREATE TABLE face_v2 (something_else);"), SQLITE_OK);
  }
  std::filesystem::remove(folder / "Font Cache.damaged");
  Orb::CacheDatabase cache;
  ASSERT_TRUE(openCache(cache));
  EXPECT_TRUE(std::filesystem::exists(folder / "Font Cache.damaged"));
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.value("SELECT count(*) FROM pragma_table_info('face_v2');"), "8");
}

TEST_F(CacheDatabaseFile, FileBeingWrittenIsLeftAloneAndTheFallbackStillOpens) {
  const std::filesystem::path folder = createdCacheFolder();
  writeFile(folder, Orb::kFontCacheName, std::string(4096, '\x5a'));
  writeFile(folder, "Font Cache-journal", "");

  Orb::CacheDatabase cache;
  EXPECT_FALSE(openCache(cache));
  EXPECT_FALSE(cache.isOpen());
  EXPECT_FALSE(std::filesystem::exists(folder / "Font Cache.damaged"));
  EXPECT_EQ(contentsOf(data.cacheFile()), std::string(4096, '\x5a'));
  EXPECT_TRUE(cache.OpenInDataFolder(Orb::kInMemoryCacheName, Orb::kCacheSchemaScript));
  EXPECT_TRUE(cache.isOpen());
}

TEST_F(CacheDatabaseFile, NoUsableDataFolderOpensNothing) {
  data.makeUnusable();
  Orb::CacheDatabase cache;
  EXPECT_FALSE(openCache(cache));
  EXPECT_FALSE(cache.isOpen());
}

}  // namespace
