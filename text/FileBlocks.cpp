#include "text/FileBlocks.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace Orb {

namespace {

// Never a block's start, which is a multiple of the block size.
constexpr std::uint64_t kNoStart = ~std::uint64_t{0};

}  // namespace

FileBlocks::FileBlocks(int file) : descriptor(file) {}

std::size_t FileBlocks::readDirect(std::uint64_t offset, unsigned char* buffer,
                                   std::size_t count) const {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(descriptor, buffer + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // the file ended early or failed: the caller sees a short read
    done += static_cast<std::size_t>(got);
  }
  return done;
}

const FileBlocks::Block* FileBlocks::blockAt(std::uint64_t start) {
  ++uses;
  for (const auto& block : blocks) {
    if (block->start == start) {
      block->lastUse = uses;
      return block.get();
    }
  }
  Block* block = nullptr;
  if (blocks.size() < kBlocksKept) {
    blocks.push_back(std::make_unique<Block>());
    block = blocks.back().get();
  } else {
    block = std::min_element(blocks.begin(), blocks.end(), [](const auto& a, const auto& b) {
              return a->lastUse < b->lastUse;
            })->get();
  }
  block->start = start;
  block->lastUse = uses;
  block->length = readDirect(start, block->bytes.data(), kBlockBytes);
  if (block->length > 0) return block;
  block->start = kNoStart;  // a failed read is tried again next time
  return nullptr;
}

std::size_t FileBlocks::read(std::uint64_t offset, unsigned char* buffer, std::size_t count) {
  if (count > kBlockBytes) return readDirect(offset, buffer, count);
  std::size_t done = 0;
  while (done < count) {
    const std::uint64_t at = offset + done;
    const std::uint64_t start = at - at % kBlockBytes;
    const Block* block = blockAt(start);
    const std::size_t within = static_cast<std::size_t>(at - start);
    if (block == nullptr || block->length <= within) break;
    const std::size_t taken = std::min(count - done, block->length - within);
    std::memcpy(buffer + done, block->bytes.data() + within, taken);
    done += taken;
    if (block->length < kBlockBytes) break;  // the file ends inside this block
  }
  return done;
}

}  // namespace Orb
