#include "fontcache/FolderScan.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <string>
#include <vector>

#include "fontcache/FontFiles.h"
#include "log/Logger.h"

namespace Orb {
namespace {

// The line number log readers know this record by; it stays fixed whatever this file becomes.
constexpr int kTryingFontLine = 1960;

// Owns one FreeType library for the length of a scan.
class FreeTypeLibrary {
 public:
  FreeTypeLibrary() {
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
  }
  ~FreeTypeLibrary() {
    if (library) FT_Done_FreeType(library);
  }
  FreeTypeLibrary(const FreeTypeLibrary&) = delete;
  FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

  FT_Library get() const { return library; }

 private:
  FT_Library library = nullptr;
};

// Owns one opened face; empty when FreeType refused the file or the index.
class OpenFace {
 public:
  OpenFace(FT_Library library, const std::string& path, FT_Long index) {
    if (FT_New_Face(library, path.c_str(), index, &face) != 0) face = nullptr;
  }
  ~OpenFace() {
    if (face) FT_Done_Face(face);
  }
  OpenFace(const OpenFace&) = delete;
  OpenFace& operator=(const OpenFace&) = delete;

  FT_Face get() const { return face; }

 private:
  FT_Face face = nullptr;
};

void recordFaces(FT_Library library, const std::string& path, const FaceCacheCallbacks& callbacks,
                 void* context) {
  std::int64_t faceCount = 0;
  {
    const OpenFace counting(library, path, -1);
    if (!counting.get()) {
      callbacks.insertFace(path.c_str(), 0, nullptr, -1, 0, 0, context);
      return;
    }
    faceCount = std::min<std::int64_t>(counting.get()->num_faces, kMaxFacesPerFile);
  }
  const std::int64_t timestamp = FileModificationTime(path);
  for (std::int64_t index = 0; index < faceCount; ++index) {
    const OpenFace face(library, path, static_cast<FT_Long>(index));
    if (!face.get() || !face.get()->family_name) continue;
    const unsigned char bold = (face.get()->style_flags & FT_STYLE_FLAG_BOLD) ? 1 : 0;
    const unsigned char italic = (face.get()->style_flags & FT_STYLE_FLAG_ITALIC) ? 1 : 0;
    callbacks.insertFace(path.c_str(), timestamp, face.get()->family_name, index, bold, italic,
                         context);
  }
}

}  // namespace

bool InitTextRendererFaceCache(const char* folder, const FaceCacheCallbacks* callbacks,
                               void* context) {
  if (!folder || !*folder || !callbacks) return true;
  const std::vector<std::string> files = ListFiles(folder, kFontFileExtensions);
  if (files.empty()) return true;
  // Without a library every file would look unreadable and be shunned for good.
  const FreeTypeLibrary library;
  if (!library.get()) return false;
  for (const std::string& path : files) {
    // Only unreadable files (and faces stored without a readable file time) carry 0.
    if (callbacks->isFaceCached(path.c_str(), 0, context) > 0) continue;
    Logger::write(Logger::instance(), "Text", "Orb::InitTextRendererFaceCache", kTryingFontLine,
                  "trying font at '%s'", path.c_str());
    recordFaces(library.get(), path, *callbacks, context);
  }
  return true;
}

}  // namespace Orb
