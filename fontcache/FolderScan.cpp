#include "fontcache/FolderScan.h"

#include <algorithm>
#include <string>
#include <vector>

#include "fontcache/FontFiles.h"
#include "fontcache/ScanFreeType.h"
#include "log/Logger.h"

namespace Orb {
namespace {

// The line number log readers know this record by; it stays fixed whatever this file becomes.
constexpr int kTryingFontLine = 1960;

void recordFaces(FT_Library library, const std::string& path, const FaceCacheCallbacks& callbacks,
                 void* context, FaceCoverageRecorder recordCoverage) {
  std::int64_t faceCount = 0;
  {
    const ScannedFace counting(library, path, -1);
    if (!counting.get()) {
      callbacks.insertFace(path.c_str(), 0, nullptr, -1, 0, 0, context);
      return;
    }
    faceCount = std::min<std::int64_t>(counting.get()->num_faces, kMaxFacesPerFile);
  }
  const std::int64_t timestamp = FileModificationTime(path);
  for (std::int64_t index = 0; index < faceCount; ++index) {
    const ScannedFace face(library, path, static_cast<FT_Long>(index));
    if (!face.get() || !face.get()->family_name) continue;
    const unsigned char bold = (face.get()->style_flags & FT_STYLE_FLAG_BOLD) ? 1 : 0;
    const unsigned char italic = (face.get()->style_flags & FT_STYLE_FLAG_ITALIC) ? 1 : 0;
    if (callbacks.insertFace(path.c_str(), timestamp, face.get()->family_name, index, bold, italic,
                             context) == 1 &&
        recordCoverage) {
      recordCoverage(path.c_str(), timestamp, index, face.get(), context);
    }
  }
}

}  // namespace

bool InitTextRendererFaceCache(const char* folder, const FaceCacheCallbacks* callbacks,
                               void* context, FaceCoverageRecorder recordCoverage) {
  if (!folder || !*folder || !callbacks) return true;
  const std::vector<std::string> files = ListFiles(folder, kFontFileExtensions);
  if (files.empty()) return true;
  // Without a library every file would look unreadable and be shunned for good.
  const ScanLibrary library;
  if (!library.get()) return false;
  for (const std::string& path : files) {
    // Only unreadable files (and faces stored without a readable file time) carry 0.
    if (callbacks->isFaceCached(path.c_str(), 0, context) > 0) continue;
    Logger::write(Logger::instance(), "Text", "Orb::InitTextRendererFaceCache", kTryingFontLine,
                  "trying font at '%s'", path.c_str());
    recordFaces(library.get(), path, *callbacks, context, recordCoverage);
  }
  return true;
}

}  // namespace Orb
