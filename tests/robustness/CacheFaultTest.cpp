// The face cache file and its folder in every bad state we could make. The component
// still renders (from a private in-memory cache when the file cannot be used), and what
// the user had in the folder is kept: a damaged file is set aside, never deleted.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "FaultScene.h"
#include "LoadedComponent.h"

namespace {

using QuillTest::FaultScene;
using QuillTest::folderContents;
using QuillTest::LoadedComponent;
using QuillTest::readText;
using QuillTest::writeText;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr char kSqliteHeader[] = "SQLite format 3";

// The component renders text with the fixture fonts, so its face lookups worked.
void expectRenders(LoadedComponent& loaded) {
  ASSERT_NE(loaded.input, nullptr) << "not wired";
  Host::SampleBuffer& sample = loaded.keep(Host::SampleBuffer::text("Cache <b>test</b>"));
  ASSERT_TRUE(loaded.deliver(sample));
  ASSERT_EQ(loaded.downstream.images().size(), 1u);
  EXPECT_GT(QuillTest::boxWidth(loaded.downstream.images()[0]), 20);
}

bool startsAsSqlite(const std::string& path) {
  return readText(path).compare(0, sizeof kSqliteHeader, kSqliteHeader, sizeof kSqliteHeader) == 0;
}

// Rows of the cache file's face table, read by a connection of the test's own; -1 when
// the file cannot be read as a database.
int faceRows(const std::string& path) {
  sqlite3* connection = nullptr;
  int rows = -1;
  if (sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_exec(
        connection, "SELECT count(*) FROM face_v2;",
        [](void* out, int, char** values, char**) {
          *static_cast<int*>(out) = std::atoi(values[0]);
          return 0;
        },
        &rows, nullptr);
  }
  sqlite3_close(connection);
  return rows;
}

// Makes the cache file as a component leaves it, with every fixture face recorded.
void makeCacheFile() {
  LoadedComponent loaded;
  loaded.wire();
}

TEST(CacheFaults, DataFolderThatCannotBeMadeFallsBackToAPrivateCache) {
  FaultScene scene;
  // Permission bits do not stop root, but no one can make a folder below a regular file.
  const std::string blocker = scene.temp.write("plain-file", "the user's");
  scene.pointDataFolderAt(blocker + "/data");
  LoadedComponent loaded;
  loaded.wire();
  expectRenders(loaded);
  EXPECT_EQ(readText(blocker), "the user's");
}

TEST(CacheFaults, CacheFileThatIsAFolderIsLeftAsItIs) {
  FaultScene scene;
  writeText(scene.cacheFile() + "/inside", "the user's");
  const auto before = folderContents(scene.cacheFolder());
  LoadedComponent loaded;
  loaded.wire();
  expectRenders(loaded);
  EXPECT_EQ(folderContents(scene.cacheFolder()), before);
}

TEST(CacheFaults, GarbageCacheFileIsSetAsideAndRebuilt) {
  FaultScene scene;
  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 251);
  writeText(scene.cacheFile(), garbage);
  writeText(scene.cacheFolder() + "/notes.txt", "the user's");
  LoadedComponent loaded;
  loaded.wire();
  expectRenders(loaded);
  EXPECT_TRUE(readText(scene.cacheFile() + ".damaged") == garbage);
  EXPECT_EQ(readText(scene.cacheFolder() + "/notes.txt"), "the user's");
  EXPECT_TRUE(startsAsSqlite(scene.cacheFile()));
  EXPECT_EQ(folderContents(scene.cacheFolder()).size(), 3u) << "nothing else was made";
}

// Cut at: nothing left, inside the header, after a few pages, and half-way. Each is cut
// after a component of this process refreshed the file.
class TruncatedCache : public ::testing::TestWithParam<double> {};

TEST_P(TruncatedCache, IsSetAsideAndRebuiltWhileTheComponentRenders) {
  FaultScene scene;
  makeCacheFile();
  const std::string whole = readText(scene.cacheFile());
  ASSERT_GT(faceRows(scene.cacheFile()), 0);
  const auto cut = static_cast<std::size_t>(GetParam() * static_cast<double>(whole.size()));
  fs::resize_file(scene.cacheFile(), cut);

  LoadedComponent loaded;
  loaded.wire();
  expectRenders(loaded);
  EXPECT_GT(faceRows(scene.cacheFile()), 0) << "the file was filled again";
  if (cut == 0) {
    EXPECT_FALSE(fs::exists(scene.cacheFile() + ".damaged")) << "an empty file is a new one";
  } else {
    EXPECT_TRUE(readText(scene.cacheFile() + ".damaged") == whole.substr(0, cut));
  }
}

INSTANTIATE_TEST_SUITE_P(Cuts, TruncatedCache, ::testing::Values(0.0, 0.005, 0.3, 0.5));

// A connection holding the cache file exclusively, as another process would: it keeps a
// cache of its own, since the component's connections share theirs within the process.
class ExclusiveLock {
 public:
  explicit ExclusiveLock(const std::string& path) {
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &connection,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_PRIVATECACHE, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(connection, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
  }
  ~ExclusiveLock() { release(); }
  ExclusiveLock(const ExclusiveLock&) = delete;
  ExclusiveLock& operator=(const ExclusiveLock&) = delete;

  void release() {
    if (!connection) return;
    sqlite3_exec(connection, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(connection);
    connection = nullptr;
  }

 private:
  sqlite3* connection = nullptr;
};

TEST(CacheFaults, LockHeldForAMomentIsWaitedForAndTheFileKept) {
  FaultScene scene;
  makeCacheFile();
  ExclusiveLock lock(scene.cacheFile());
  std::thread releaser([&lock] {
    std::this_thread::sleep_for(300ms);
    lock.release();
  });
  LoadedComponent loaded;
  releaser.join();
  loaded.wire();
  expectRenders(loaded);
  EXPECT_FALSE(fs::exists(scene.cacheFile() + ".damaged"));
  EXPECT_GT(faceRows(scene.cacheFile()), 0);
}

// The wait for a locked database is bounded (a little over 80 s): this case is slow.
TEST(CacheFaults, LockHeldThroughoutLeavesTheFileAloneAndUsesAPrivateCache) {
  FaultScene scene;
  makeCacheFile();
  const auto before = folderContents(scene.cacheFolder());
  ExclusiveLock lock(scene.cacheFile());
  LoadedComponent loaded;
  loaded.wire();
  expectRenders(loaded);
  lock.release();
  EXPECT_TRUE(folderContents(scene.cacheFolder()) == before);
}

}  // namespace
