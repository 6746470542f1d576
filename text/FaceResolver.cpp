#include "text/FaceResolver.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "text/FontFileStream.h"

namespace Orb {

namespace {

bool hasOwnSource(const FontRecord& record) {
  return record.path.has_value() || (record.data && !record.data->bytes.empty());
}

FT_Error openOwnFace(FT_Library library, const FontRecord& record, FT_Long index, FT_Face* face) {
  if (record.path) return openFaceFromFile(library, record.path->c_str(), index, face);
  return FT_New_Memory_Face(library, record.data->bytes.data(),
                            static_cast<FT_Long>(record.data->bytes.size()), index, face);
}

bool matchesRecord(const FontRecord& record, FT_Face face) {
  if (!record.family) return true;
  if (face->family_name == nullptr || *record.family != face->family_name) return false;
  const std::uint8_t bold = (face->style_flags & FT_STYLE_FLAG_BOLD) ? 1 : 0;
  const std::uint8_t italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) ? 1 : 0;
  return record.bold == bold && record.italic == italic;
}

bool openFromOwnSource(FT_Library library, FontRecord& record) {
  FT_Face probe = nullptr;
  if (openOwnFace(library, record, -1, &probe) != 0) return false;
  const FT_Long faceCount = std::min<FT_Long>(probe->num_faces, kMaxFaceIndicesTried);
  FT_Done_Face(probe);
  for (FT_Long index = 0; index < faceCount; ++index) {
    FT_Face face = nullptr;
    if (openOwnFace(library, record, index, &face) != 0) continue;
    if (matchesRecord(record, face)) {
      record.face = face;
      return true;
    }
    FT_Done_Face(face);
  }
  return false;
}

// Asks the owner's lookup, relaxing italic first and then bold. On true `path` is the C
// allocator's string the lookup made.
bool lookUpFace(const RenderContext& context, const FontRecord& record, char** path,
                std::int64_t* faceIndex) {
  const auto find = context.faceCacheTable->findFace;
  const char* family = record.family->c_str();
  if (find(family, record.bold, record.italic, context.userData, path, faceIndex) > 0) return true;
  if (record.italic && find(family, record.bold, 0, context.userData, path, faceIndex) > 0) {
    return true;
  }
  return record.bold && find(family, 0, 0, context.userData, path, faceIndex) > 0;
}

bool openThroughLookup(const RenderContext& context, FontRecord& record) {
  if (!record.family || context.faceCacheTable == nullptr ||
      context.faceCacheTable->findFace == nullptr) {
    return false;
  }
  char* path = nullptr;
  std::int64_t faceIndex = 0;
  if (!lookUpFace(context, record, &path, &faceIndex)) return false;
  if (path == nullptr) return false;
  // The cache stores 64-bit indices; FreeType takes the low 32 bits.
  const auto index = static_cast<std::int32_t>(static_cast<std::uint32_t>(faceIndex));
  const FT_Error error = openFaceFromFile(context.library.handle, path, index, &record.face);
  std::free(path);
  if (error != 0) {
    record.face = nullptr;
    return false;
  }
  if (record.italic && !(record.face->style_flags & FT_STYLE_FLAG_ITALIC)) {
    record.transform = FT_Matrix{0x10000, kSyntheticItalicShear, 0, 0x10000};
    FT_Set_Transform(record.face, &record.transform, nullptr);
    record.loadFlags |= FT_LOAD_NO_BITMAP;
  }
  return true;
}

}  // namespace

bool resolveFace(RenderContext& context, FontRecord& record) {
  if (record.face != nullptr) return true;
  if (hasOwnSource(record) && openFromOwnSource(context.library.handle, record)) return true;
  if (openThroughLookup(context, record)) return true;
  record.closeFace();
  return false;
}

}  // namespace Orb
