#include "text/FileBlocks.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Orb::FileBlocks;

// A temporary file with `bytes` in it, open for reading.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::vector<unsigned char>& bytes) {
    char name[] = "/tmp/quill-file-blocks-XXXXXX";
    descriptor_ = ::mkstemp(name);
    path_ = name;
    write(bytes);
  }
  ~TemporaryFile() {
    ::close(descriptor_);
    std::remove(path_.c_str());
  }
  int descriptor() const { return descriptor_; }
  void write(const std::vector<unsigned char>& bytes) {
    ASSERT_EQ(::pwrite(descriptor_, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
  }
  void resize(off_t size) { ASSERT_EQ(::ftruncate(descriptor_, size), 0); }

 private:
  int descriptor_ = -1;
  std::string path_;
};

std::vector<unsigned char> numbered(std::size_t size) {
  std::vector<unsigned char> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + i / 251);
  return bytes;
}

std::vector<unsigned char> readBack(FileBlocks& blocks, std::uint64_t offset, std::size_t count) {
  std::vector<unsigned char> got(count, 0xEE);
  got.resize(blocks.read(offset, got.data(), count));
  return got;
}

std::vector<unsigned char> slice(const std::vector<unsigned char>& bytes, std::size_t offset,
                                 std::size_t count) {
  if (offset >= bytes.size()) return {};
  const std::size_t end = std::min(bytes.size(), offset + count);
  return std::vector<unsigned char>(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                    bytes.begin() + static_cast<std::ptrdiff_t>(end));
}

TEST(FileBlocks, AnswersTheFilesBytesWhereverAReadFallsAndHowEverManyBlocksItHas) {
  constexpr std::size_t kBlock = FileBlocks::kBlockBytes;
  // More blocks than are kept, ending inside the last one.
  const auto bytes = numbered(kBlock * (FileBlocks::kBlocksKept + 5) + 123);
  TemporaryFile file(bytes);
  FileBlocks blocks(file.descriptor());
  // Across block boundaries, exactly a block, longer than a block (read directly), and
  // wandering back and forth so that kept blocks are both reused and replaced.
  const std::pair<std::uint64_t, std::size_t> reads[] = {
      {0, 4},           {kBlock - 3, 10},      {kBlock, kBlock},  {5 * kBlock + 17, 3 * kBlock},
      {2 * kBlock, 1},  {19 * kBlock + 9, 200}, {1, 300},         {20 * kBlock + 1, 500},
      {kBlock - 1, 2},  {3 * kBlock + 1000, kBlock}};
  for (int round = 0; round < 3; ++round) {
    for (const auto& [offset, count] : reads) {
      EXPECT_EQ(readBack(blocks, offset, count), slice(bytes, offset, count))
          << "offset " << offset << " count " << count;
    }
  }
}

TEST(FileBlocks, ReadsComeUpShortAtTheEndOfTheFileAndPastIt) {
  const auto bytes = numbered(FileBlocks::kBlockBytes + 100);
  TemporaryFile file(bytes);
  FileBlocks blocks(file.descriptor());
  EXPECT_EQ(readBack(blocks, FileBlocks::kBlockBytes + 90, 64).size(), 10u);
  EXPECT_EQ(readBack(blocks, FileBlocks::kBlockBytes - 10, 500).size(), 110u);
  EXPECT_TRUE(readBack(blocks, FileBlocks::kBlockBytes + 100, 8).empty());
  EXPECT_TRUE(readBack(blocks, 10 * FileBlocks::kBlockBytes, 8).empty());
}

TEST(FileBlocks, ANothingReadIsNotRememberedAsTheFilesContent) {
  TemporaryFile file({});
  FileBlocks blocks(file.descriptor());
  EXPECT_TRUE(readBack(blocks, 0, 16).empty());
  // The file gets its bytes after all: a read that found none is tried again.
  const auto bytes = numbered(64);
  file.write(bytes);
  EXPECT_EQ(readBack(blocks, 0, 16), slice(bytes, 0, 16));
}

TEST(FileBlocks, AFileCutShortUnderItGivesShortReadsForWhatWasNotKept) {
  const auto bytes = numbered(4 * FileBlocks::kBlockBytes);
  TemporaryFile file(bytes);
  FileBlocks blocks(file.descriptor());
  ASSERT_EQ(readBack(blocks, 10, 20), slice(bytes, 10, 20));
  file.resize(FileBlocks::kBlockBytes);
  EXPECT_TRUE(readBack(blocks, 2 * FileBlocks::kBlockBytes, 20).empty());
  EXPECT_TRUE(readBack(blocks, 2 * FileBlocks::kBlockBytes, 2 * FileBlocks::kBlockBytes).empty());
}

}  // namespace
