#include "fontcache/FontFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "FontCacheTestSupport.h"

using namespace FontCacheTest;

namespace {

std::vector<std::string> sorted(std::vector<std::string> paths) {
  std::sort(paths.begin(), paths.end());
  return paths;
}

TEST(ListFiles, TakesFontExtensionsInAnyCaseAndNothingElse) {
  TemporaryFolder folder;
  for (const char* name : {"a.ttf", "B.TTF", "c.Otf", "d.ttc", "e.dfont", "a.ttf.bak", "a.fon",
                           "noextension", "ends.in.dot.", ".ttf"})
    writeFile(folder.path(), name, "x");
  std::filesystem::create_directory(folder.path() / "sub");
  writeFile(folder.path() / "sub", "inner.ttf", "x");
  std::filesystem::create_directory(folder.path() / "folder.ttf");

  const std::string base = folder.entry();
  EXPECT_EQ(sorted(Orb::ListFiles(folder.path().string(), Orb::kFontFileExtensions)),
            (std::vector<std::string>{base + ".ttf", base + "B.TTF", base + "a.ttf", base + "c.Otf",
                                      base + "d.ttc", base + "e.dfont"}));
}

TEST(ListFiles, KeepsForwardSlashesAndAddsOneSeparatorOnly) {
  TemporaryFolder folder;
  writeFile(folder.path(), "f.ttf", "x");
  const std::vector<std::string> expected{folder.entry() + "f.ttf"};
  EXPECT_EQ(Orb::ListFiles(folder.entry(), "ttf"), expected);
  EXPECT_EQ(Orb::ListFiles(folder.path().string(), "ttf"), expected);
}

TEST(ListFiles, DropsEmptyPiecesOfTheExtensionList) {
  TemporaryFolder folder;
  writeFile(folder.path(), "f.ttf", "x");
  writeFile(folder.path(), "g.otf", "x");
  writeFile(folder.path(), "noextension", "x");
  EXPECT_EQ(sorted(Orb::ListFiles(folder.entry(), ",ttf,,otf,")),
            (std::vector<std::string>{folder.entry() + "f.ttf", folder.entry() + "g.otf"}));
  EXPECT_TRUE(Orb::ListFiles(folder.entry(), ",,").empty());
}

TEST(ModificationTimes, FileAndFolderTimesFollowTheFileSystem) {
  TemporaryFolder folder;
  const auto file = writeFile(folder.path(), "f.ttf", "x");
  setModificationTime(file, 1234567890);
  setModificationTime(folder.path(), 1234567895);

  EXPECT_EQ(Orb::FileModificationTime(file.string()), 1234567890);
  EXPECT_EQ(Orb::FolderModificationTime(folder.entry()), 1234567895);
  EXPECT_EQ(Orb::FolderModificationTime(folder.path().string()), 1234567895);
  EXPECT_EQ(Orb::FileModificationTime((folder.path() / "missing").string()), 0);
  EXPECT_EQ(Orb::FolderModificationTime(""), 0);
  EXPECT_NE(Orb::FolderModificationTime("/"), 0);
}

TEST(SplitPath, CutsAfterTheLastForwardSlashElseTheLastBackslash) {
  const Orb::PathParts windows = Orb::SplitPath("C:\\Windows\\Fonts\\arial.ttf");
  EXPECT_EQ(windows.folder, "C:\\Windows\\Fonts\\");
  EXPECT_EQ(windows.fileName, "arial.ttf");

  const Orb::PathParts mixed = Orb::SplitPath("a/b\\c");
  EXPECT_EQ(mixed.folder, "a/");
  EXPECT_EQ(mixed.fileName, "b\\c");

  const Orb::PathParts unix = Orb::SplitPath("/usr/share/fonts/x.ttf");
  EXPECT_EQ(unix.folder, "/usr/share/fonts/");
  EXPECT_EQ(unix.fileName, "x.ttf");

  const Orb::PathParts bare = Orb::SplitPath("x.ttf");
  EXPECT_EQ(bare.folder, "x.ttf");
  EXPECT_EQ(bare.fileName, "");
}

}  // namespace
