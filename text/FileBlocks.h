#pragma once
// Small reads of an open file through a few remembered blocks. FreeType reads a font file
// through its stream a few hundred bytes at a time, for every glyph it loads, and a
// subtitle loads the same glyph twice (its outline's extent while it is laid out, its image
// while it is drawn): each read was a system call, which costs more than parsing the glyph.
// Reads are copies, never mappings: a file cut short while it is open makes them come up
// short instead of faulting (see FontFileStream).
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Orb {

class FileBlocks {
 public:
  /// Bytes per block, aligned to their size in the file.
  static constexpr std::size_t kBlockBytes = 4096;
  /// Blocks kept at most; the least recently used goes. Reads longer than a block (tables
  /// read once, when a face opens) are never kept.
  static constexpr std::size_t kBlocksKept = 16;

  /// Reads `descriptor`, which stays the caller's and must outlive this.
  explicit FileBlocks(int descriptor);

  /// Copies `count` bytes from `offset` into `buffer` and answers how many it copied:
  /// fewer when the file ends or a read fails first.
  std::size_t read(std::uint64_t offset, unsigned char* buffer, std::size_t count);

 private:
  struct Block {
    std::uint64_t start = 0;
    std::size_t length = 0;  // fewer than kBlockBytes at the end of the file
    std::uint64_t lastUse = 0;
    std::array<unsigned char, kBlockBytes> bytes;
  };

  std::size_t readDirect(std::uint64_t offset, unsigned char* buffer, std::size_t count) const;
  // The block starting at `start`, read now unless it is kept; null when nothing is there.
  const Block* blockAt(std::uint64_t start);

  int descriptor;
  std::uint64_t uses = 0;
  std::vector<std::unique_ptr<Block>> blocks;
};

}  // namespace Orb
