// Platform answers under an overridden environment, folder listing and times, and the
// injectable sleep.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Library.h"
#include "platform/Sleep.h"

namespace {

// Sets or unsets an environment variable for the life of one test.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old, hadOld_ = true;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnvironment() {
    if (hadOld_)
      setenv(name_, old_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool hadOld_ = false;
};

TEST(PlatformFolders, DataFolderFollowsXdgThenHome) {
  ScopedEnvironment home("HOME", "/home/someone");
  {
    ScopedEnvironment xdg("XDG_DATA_HOME", "/srv/data");
    EXPECT_EQ(Platform::userDataFolder(), "/srv/data");
  }
  {
    ScopedEnvironment xdg("XDG_DATA_HOME", "relative/ignored");
    EXPECT_EQ(Platform::userDataFolder(), "/home/someone/.local/share");
  }
  ScopedEnvironment xdg("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(Platform::userDataFolder(), "/home/someone/.local/share");
  ScopedEnvironment noHome("HOME", "");
  EXPECT_EQ(Platform::userDataFolder(), "");
}

TEST(PlatformFolders, FontsFolderIsOverriddenOrBeneathDataFolder) {
  ScopedEnvironment xdg("XDG_DATA_HOME", "/srv/data");
  {
    ScopedEnvironment fonts(Platform::kFontsFolderVariable, "/opt/fonts");
    EXPECT_EQ(Platform::systemFontsFolder(), "/opt/fonts");
  }
  {
    ScopedEnvironment fonts(Platform::kFontsFolderVariable, "");
    EXPECT_EQ(Platform::systemFontsFolder(), "/srv/data/fonts");
  }
  ScopedEnvironment fonts(Platform::kFontsFolderVariable, nullptr);
  ScopedEnvironment noXdg("XDG_DATA_HOME", nullptr);
  ScopedEnvironment noHome("HOME", nullptr);
  EXPECT_EQ(Platform::systemFontsFolder(), "");
}

class PlatformFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quill-platform-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + root + "'").c_str()); }
  std::string root;
};

TEST_F(PlatformFiles, PrivateFoldersAreMadeAtEveryMissingLevelAndExistingOnesKeepTheirMode) {
  namespace fs = std::filesystem;
  ASSERT_TRUE(Platform::createPrivateFolders(root + "/a"));
  fs::permissions(root + "/a", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  ASSERT_TRUE(Platform::createPrivateFolders(root + "/a/b/c/"));
  EXPECT_EQ(fs::status(root + "/a").permissions(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  EXPECT_EQ(fs::status(root + "/a/b").permissions(), fs::perms::owner_all);
  EXPECT_EQ(fs::status(root + "/a/b/c").permissions(), fs::perms::owner_all);
  EXPECT_TRUE(Platform::createPrivateFolders(root + "/a/b"));

  std::ofstream(root + "/file") << "x";
  EXPECT_FALSE(Platform::createPrivateFolders(root + "/file"));
  EXPECT_FALSE(Platform::createPrivateFolders(root + "/file/below"));
  EXPECT_FALSE(Platform::createPrivateFolders(""));
}

TEST_F(PlatformFiles, RenameReplacesTheTargetAndLeavesAFailedSourceAlone) {
  std::ofstream(root + "/a") << "new";
  std::ofstream(root + "/b") << "old";
  ASSERT_TRUE(Platform::renameFile(root + "/a", root + "/b"));
  std::ifstream moved(root + "/b");
  std::string text;
  moved >> text;
  EXPECT_EQ(text, "new");
  std::int64_t ignored = 0;
  EXPECT_FALSE(Platform::modificationTime(root + "/a", ignored));
  EXPECT_FALSE(Platform::renameFile(root + "/missing", root + "/c"));
  EXPECT_FALSE(Platform::renameFile(root + "/b", root + "/no/such/folder/c"));
  EXPECT_TRUE(Platform::modificationTime(root + "/b", ignored));
}

TEST_F(PlatformFiles, SymbolicLinkReachesItsTargetAndIsNotMadeTwice) {
  std::ofstream(root + "/target") << "x";
  ASSERT_TRUE(Platform::createSymbolicLink(root + "/target", root + "/link"));
  EXPECT_FALSE(Platform::createSymbolicLink(root + "/target", root + "/link"));
  std::ifstream through(root + "/link");
  std::string text;
  through >> text;
  EXPECT_EQ(text, "x");
}

TEST_F(PlatformFiles, ListingNamesFilesAndFoldersAndFailsOnMissingFolder) {
  std::ofstream(root + "/font.ttf") << "x";
  ASSERT_TRUE(Platform::createPrivateFolders(root + "/sub"));
  std::vector<Platform::DirectoryEntry> entries;
  ASSERT_TRUE(Platform::listDirectory(root + "/", entries));
  auto find = [&](const std::string& name) {
    return std::find_if(entries.begin(), entries.end(),
                        [&](const Platform::DirectoryEntry& e) { return e.name == name; });
  };
  ASSERT_NE(find("font.ttf"), entries.end());
  EXPECT_FALSE(find("font.ttf")->isDirectory);
  ASSERT_NE(find("sub"), entries.end());
  EXPECT_TRUE(find("sub")->isDirectory);
  EXPECT_NE(find(".."), entries.end());
  EXPECT_FALSE(Platform::listDirectory(root + "/missing", entries));
  EXPECT_TRUE(entries.empty());
}

TEST_F(PlatformFiles, ModificationTimeReadsFilesAndFoldersAndLeavesMissingAlone) {
  std::string file = root + "/f";
  std::ofstream(file) << "x";
  std::int64_t seconds = -1;
  ASSERT_TRUE(Platform::modificationTime(file, seconds));
  EXPECT_GT(seconds, 1600000000);
  std::int64_t folderSeconds = -1;
  EXPECT_TRUE(Platform::modificationTime(root, folderSeconds));
  EXPECT_GT(folderSeconds, 1600000000);
  std::int64_t untouched = 42;
  EXPECT_FALSE(Platform::modificationTime(root + "/missing", untouched));
  EXPECT_EQ(untouched, 42);
}

std::vector<std::uint32_t> recordedSleeps;
void recordSleep(std::uint32_t ms) { recordedSleeps.push_back(ms); }

TEST(PlatformSleep, InjectedFunctionReceivesEverySleepUntilRestored) {
  recordedSleeps.clear();
  Platform::SleepFunction previous = Platform::setSleepFunction(&recordSleep);
  Platform::sleepMilliseconds(40960);  // would take 41 s for real
  Platform::sleepMilliseconds(0);
  EXPECT_EQ(recordedSleeps, (std::vector<std::uint32_t>{40960, 0}));
  EXPECT_EQ(Platform::setSleepFunction(previous), &recordSleep);
  Platform::sleepMilliseconds(1);
  EXPECT_EQ(recordedSleeps.size(), 2u);
}

TEST(PlatformLibrary, MissingLibraryAndSymbolsAnswerNull) {
  EXPECT_EQ(Platform::libraryFileName("Orb_Logging"), "libOrb_Logging.so");
  EXPECT_EQ(Platform::loadLibrary("Quill_NoSuchLibrary"), nullptr);
  EXPECT_EQ(Platform::findSymbol(nullptr, "anything"), nullptr);
  Platform::freeLibrary(nullptr);
}

}  // namespace
