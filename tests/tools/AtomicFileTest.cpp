#include "tools/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "TempFolder.h"

namespace QuillRender {
namespace {

TEST(AtomicFile, AWriterThatGivesUpLeavesTheOldFileAndNoLitter) {
  TempFolder folder;
  folder.write("target", "old content");
  std::string error;
  const bool written = writeFileAtomically(folder.file("target"), [](std::FILE* stream) {
    std::fputs("half of the new", stream);
    return false;
  }, error);
  EXPECT_FALSE(written);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(folder.read("target"), "old content");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()), 1);
}

TEST(AtomicFile, TheResultIsReadableLikeAnyOtherFile) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(writeFileAtomically(folder.file("new"), std::string("content"), error)) << error;
  struct stat info;
  ASSERT_EQ(stat(folder.file("new").c_str(), &info), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << "not the private mode of a temporary file";
}

TEST(AtomicFile, AFolderInTheWayIsAFailureNotALoss) {
  TempFolder folder;
  std::filesystem::create_directory(folder.file("busy"));
  folder.write("busy/inside", "kept");
  std::string error;
  EXPECT_FALSE(writeFileAtomically(folder.file("busy"), std::string("x"), error));
  EXPECT_NE(error.find("busy"), std::string::npos);
  EXPECT_EQ(folder.read("busy/inside"), "kept");
}

}  // namespace
}  // namespace QuillRender
