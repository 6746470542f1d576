#include "tests/text/TestFonts.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace TestFonts {

std::vector<unsigned char> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>());
}

std::shared_ptr<Orb::FontRecord> FontBench::open(const std::string& path) {
  auto record = std::make_shared<Orb::FontRecord>();
  record->path = path;
  EXPECT_TRUE(resolver.resolve(*record)) << path;
  return record;
}

}  // namespace TestFonts

namespace TestFonts {

namespace {

void putBigEndian32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<unsigned char>(value >> 24);
  bytes[at + 1] = static_cast<unsigned char>(value >> 16);
  bytes[at + 2] = static_cast<unsigned char>(value >> 8);
  bytes[at + 3] = static_cast<unsigned char>(value);
}

std::uint32_t bigEndian32(const std::vector<unsigned char>& bytes, std::size_t at) {
  return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
         (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
}

}  // namespace

std::vector<unsigned char> buildCollection(const std::vector<std::vector<unsigned char>>& fonts,
                                           const std::vector<std::size_t>& faceFile) {
  // Header: tag, version, face count and one offset per face.
  std::vector<unsigned char> out(12 + 4 * faceFile.size(), 0);
  out[0] = 't'; out[1] = 't'; out[2] = 'c'; out[3] = 'f';
  putBigEndian32(out, 4, 0x00010000);
  putBigEndian32(out, 8, static_cast<std::uint32_t>(faceFile.size()));
  std::vector<std::uint32_t> fileOffset;
  for (const auto& font : fonts) {
    const auto base = static_cast<std::uint32_t>(out.size());
    fileOffset.push_back(base);
    std::vector<unsigned char> moved = font;
    // Table offsets in a collection count from the start of the collection.
    const std::size_t tables = (std::size_t{moved[4]} << 8) | moved[5];
    for (std::size_t t = 0; t < tables; ++t) {
      const std::size_t at = 12 + 16 * t + 8;
      putBigEndian32(moved, at, bigEndian32(moved, at) + base);
    }
    out.insert(out.end(), moved.begin(), moved.end());
    while (out.size() % 4 != 0) out.push_back(0);
  }
  for (std::size_t i = 0; i < faceFile.size(); ++i) {
    putBigEndian32(out, 12 + 4 * i, fileOffset[faceFile[i]]);
  }
  return out;
}

}  // namespace TestFonts
