#pragma once
// FreeType as the face index uses it: one library for a pass over font files, and faces
// opened from a file path, each closed by its owner's destructor.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

namespace Orb {

/// Owns one FreeType library; get() is null when FreeType could not start.
class ScanLibrary {
 public:
  ScanLibrary();
  ~ScanLibrary();
  ScanLibrary(const ScanLibrary&) = delete;
  ScanLibrary& operator=(const ScanLibrary&) = delete;

  FT_Library get() const { return library; }

 private:
  FT_Library library = nullptr;
};

/// Owns one face opened from `path`; get() is null when FreeType refused the file or the
/// index. Must not outlive the library it was opened with.
class ScannedFace {
 public:
  ScannedFace(FT_Library library, const std::string& path, FT_Long index);
  ~ScannedFace();
  ScannedFace(const ScannedFace&) = delete;
  ScannedFace& operator=(const ScannedFace&) = delete;

  FT_Face get() const { return face; }

 private:
  FT_Face face = nullptr;
};

}  // namespace Orb
