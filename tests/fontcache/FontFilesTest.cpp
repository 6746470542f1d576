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

TEST(ListFiles, TakesListedExtensionsInAnyCaseAndNothingElse) {
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
  // Forward slashes kept, one separator added only where missing, empty list pieces dropped.
  EXPECT_EQ(sorted(Orb::ListFiles(base, ",ttf,,otf,")),
            (std::vector<std::string>{base + ".ttf", base + "B.TTF", base + "a.ttf", base + "c.Otf"}));
  EXPECT_EQ(sorted(Orb::ListFiles(folder.path().string(), "otf")), (std::vector<std::string>{base + "c.Otf"}));
  EXPECT_TRUE(Orb::ListFiles(base, ",,").empty());
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
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"C:\\Windows\\Fonts\\arial.ttf", "C:\\Windows\\Fonts\\", "arial.ttf"},
      {"a/b\\c", "a/", "b\\c"},
      {"/usr/share/fonts/x.ttf", "/usr/share/fonts/", "x.ttf"},
      {"x.ttf", "x.ttf", ""},
  };
  for (const auto& [path, folder, fileName] : cases) {
    const Orb::PathParts parts = Orb::SplitPath(path);
    EXPECT_EQ(parts.folder, folder) << path;
    EXPECT_EQ(parts.fileName, fileName) << path;
  }
}

}  // namespace
