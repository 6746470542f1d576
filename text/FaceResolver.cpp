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

std::shared_ptr<SharedFace> openOwnFace(RenderContext& context, const FontRecord& record,
                                        FT_Long index) {
  if (record.path) return context.faces.openFile(context.library.handle, *record.path, index);
  return context.faces.openMemory(context.library.handle, record.data, index);
}

// How many faces the record's own file holds, 0 when it cannot be read. Face 0 of a
// readable file reports the count as well and is usually the one taken, so it is asked
// first; only when it cannot open is the file probed for its count.
FT_Long ownFaceCount(RenderContext& context, const FontRecord& record) {
  if (const auto first = openOwnFace(context, record, 0)) return first->handle()->num_faces;
  FT_Face probe = nullptr;
  const FT_Error error =
      record.path ? openFaceFromFile(context.library.handle, record.path->c_str(), -1, &probe)
                  : FT_New_Memory_Face(context.library.handle, record.data->bytes.data(),
                                       static_cast<FT_Long>(record.data->bytes.size()), -1,
                                       &probe);
  if (error != 0) return 0;
  const FT_Long count = probe->num_faces;
  FT_Done_Face(probe);
  return count;
}

bool matchesRecord(const FontRecord& record, FT_Face face) {
  if (!record.family) return true;
  if (face->family_name == nullptr || *record.family != face->family_name) return false;
  const std::uint8_t bold = (face->style_flags & FT_STYLE_FLAG_BOLD) ? 1 : 0;
  const std::uint8_t italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) ? 1 : 0;
  return record.bold == bold && record.italic == italic;
}

bool openFromOwnSource(RenderContext& context, FontRecord& record) {
  const FT_Long faceCount = std::min<FT_Long>(ownFaceCount(context, record), kMaxFaceIndicesTried);
  for (FT_Long index = 0; index < faceCount; ++index) {
    auto face = openOwnFace(context, record, index);
    if (face && matchesRecord(record, face->handle())) {
      record.face = std::move(face);
      return true;
    }
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

bool openThroughLookup(RenderContext& context, FontRecord& record) {
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
  record.face = context.faces.openFile(context.library.handle, path, index);
  std::free(path);
  if (!record.face) return false;
  if (record.italic && !(record.face->handle()->style_flags & FT_STYLE_FLAG_ITALIC)) {
    // The shear is the record's: a shared face gets it from prepare() whenever this
    // record draws, and an upright record sharing the face draws unsheared.
    record.transform = FT_Matrix{0x10000, kSyntheticItalicShear, 0, 0x10000};
    record.loadFlags |= FT_LOAD_NO_BITMAP;
  }
  return true;
}

}  // namespace

bool resolveFace(RenderContext& context, FontRecord& record) {
  if (record.face) return true;
  if (hasOwnSource(record) && openFromOwnSource(context, record)) return true;
  if (openThroughLookup(context, record)) return true;
  record.closeFace();
  return false;
}

}  // namespace Orb
