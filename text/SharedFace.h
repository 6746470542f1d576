#pragma once
// One open FreeType face that several font records may draw with. Pixel size and
// transform are face state in FreeType, so records that share a face must not rely on what
// another record left there: whoever draws states what it needs through prepare().
#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace Orb {

struct FontData;

/// The font file a face was opened from, as it was then: a file replaced since has another
/// size or modification time.
struct FaceFile {
  std::string path;
  FT_Long index = 0;
  std::int64_t size = 0;
  std::int64_t modified = 0;  ///< nanoseconds since the epoch

  /// The file at `path` as it is now (face `index`); nothing when it cannot be examined.
  static std::optional<FaceFile> examine(const std::string& path, FT_Long index);
  bool operator==(const FaceFile& other) const {
    return path == other.path && index == other.index && size == other.size && modified == other.modified;
  }
};

class SharedFace {
 public:
  /// Takes ownership of `face`, opened from `data` when that is set (kept alive for as long
  /// as FreeType may read it), else from `file` when known. `serial` tells this face apart
  /// from every other face the same renderer opens, also from one opened later at the same
  /// address.
  SharedFace(FT_Face face, std::shared_ptr<const FontData> data, std::uint64_t serial,
             std::optional<FaceFile> file = std::nullopt);
  ~SharedFace();
  SharedFace(const SharedFace&) = delete;
  SharedFace& operator=(const SharedFace&) = delete;

  FT_Face handle() const { return face; }
  std::uint64_t serial() const { return id; }
  /// The file it was opened from; nothing for a face from memory or a file not examined.
  const std::optional<FaceFile>& file() const { return origin; }

  /// Whether the face's character map has `codePoint`. Answers below kRememberedCharacters
  /// (the alphabetic scripts subtitles use most) are kept for the face's life, since every
  /// subtitle asks about the same letters again.
  bool hasCharacter(char32_t codePoint);
  static constexpr char32_t kRememberedCharacters = 0x800;

  /// Sets the pixel size unless the face is already at it.
  void setPixelSize(std::int32_t size);
  /// Sets the pixel size and the transform that a record drawing now needs.
  void prepare(std::int32_t size, const FT_Matrix& transform);

 private:
  FT_Face face;
  std::shared_ptr<const FontData> data;
  std::uint64_t id;
  std::optional<FaceFile> origin;
  std::int32_t pixelSize = 0;  // 0: never set
  FT_Matrix currentTransform{0x10000, 0, 0, 0x10000};
  std::bitset<kRememberedCharacters> asked;  // hasCharacter answered for these
  std::bitset<kRememberedCharacters> present;
};

}  // namespace Orb
