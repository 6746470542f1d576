#include "tools/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <thread>
#include <vector>

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

// The permissions come from the process's umask, which a writer must only read: setting it
// to read it, even for a moment, lets a writer on another thread see and restore the
// wrong mask, leaving the process creating files anyone may change.
TEST(AtomicFile, WritersOnSeveralThreadsLeaveTheUmaskAndModesAlone) {
  TempFolder folder;
  const mode_t previous = umask(022);
  std::vector<std::thread> writers;
  std::vector<int> failures(4, 0);
  for (std::size_t t = 0; t < failures.size(); ++t) {
    writers.emplace_back([&folder, &failures, t] {
      for (int i = 0; i < 150; ++i) {
        std::string error;
        const std::string name = "f" + std::to_string(t) + "-" + std::to_string(i);
        failures[t] += !writeFileAtomically(folder.file(name), std::string("x"), error);
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  const mode_t after = umask(previous);
  EXPECT_EQ(after, 022u);
  for (std::size_t t = 0; t < failures.size(); ++t) EXPECT_EQ(failures[t], 0);
  int wrongModes = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    struct stat info;
    ASSERT_EQ(stat(entry.path().c_str(), &info), 0);
    wrongModes += (info.st_mode & 0777) != 0644;
  }
  EXPECT_EQ(wrongModes, 0);
}

}  // namespace
}  // namespace QuillRender
