#pragma once
// Five words describing a typed buffer's format. Only the first has a fixed meaning: a
// four-character code in memory order (the bytes "FONT" for a font attachment).
#include <cstdint>
#include <cstring>

namespace Orb {

struct FormatDescriptor {
  std::uint32_t code = 0;
  std::uint32_t word2 = 0;
  std::uint32_t word3 = 0;
  std::uint32_t word4 = 0;  ///< 4 for a font attachment
  std::uint32_t word5 = 0;

  /// True when `code` holds the four bytes of `fourCharacters`.
  bool hasCode(const char* fourCharacters) const {
    return std::memcmp(&code, fourCharacters, sizeof code) == 0;
  }

  /// Stores the four bytes of `fourCharacters` in `code`.
  void setCode(const char* fourCharacters) { std::memcpy(&code, fourCharacters, sizeof code); }
};

}  // namespace Orb
