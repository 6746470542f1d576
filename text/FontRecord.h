#pragma once
// The font that a style draws with, and the in-memory font file that several records may
// share. Records are shared through std::shared_ptr between the renderer (its base font)
// and the fonts resolved for one subtitle. Faces are shared between records that resolve
// to the same face (see FacePool); the last holder closes it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "text/SharedFace.h"

namespace Orb {

/// A private copy of a font file held in memory. FreeType reads these bytes for as long
/// as a face opened from them is open, so every record with such a face keeps a reference.
struct FontData {
  std::vector<unsigned char> bytes;
};

/// What a style asks for (family, style flags, its own file or bytes) and, once resolved,
/// the open face with the transform and load flags this record draws it with. A record
/// must not outlive the FreeType library its face was opened with.
struct FontRecord {
  FontRecord() = default;
  ~FontRecord() = default;
  FontRecord(const FontRecord&) = delete;
  FontRecord& operator=(const FontRecord&) = delete;

  /// A new, unresolved record with the same family, path and font bytes but neither bold
  /// nor italic: style flags are not inherited, so <i> inside <b> asks for italic only.
  std::shared_ptr<FontRecord> clone() const;

  /// Lets go of the face (if any) and returns the transform and load flags to upright.
  void closeFace();

  /// Whether the record carries its own font file or (non-empty) bytes, rather than only
  /// a family for the face lookup.
  bool hasOwnSource() const;

  std::optional<std::string> family;
  std::optional<std::string> path;
  std::shared_ptr<const FontData> data;
  std::uint8_t bold = 0;
  std::uint8_t italic = 0;
  std::shared_ptr<SharedFace> face;
  FT_Matrix transform{0x10000, 0, 0, 0x10000};
  FT_Int32 loadFlags = 0;
};

}  // namespace Orb
