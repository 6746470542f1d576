#include "text/FaceResolver.h"

#include <algorithm>

#include "text/FontFileStream.h"

namespace Orb {

namespace {

bool matchesRecord(const FontRecord& record, FT_Face face) {
  if (!record.family) return true;
  if (face->family_name == nullptr || *record.family != face->family_name) return false;
  const std::uint8_t bold = (face->style_flags & FT_STYLE_FLAG_BOLD) ? 1 : 0;
  const std::uint8_t italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) ? 1 : 0;
  return record.bold == bold && record.italic == italic;
}

}  // namespace

std::shared_ptr<SharedFace> FaceResolver::openOwnFace(const FontRecord& record, FT_Long index) {
  if (record.path) return faces.openFile(library, *record.path, index);
  return faces.openMemory(library, record.data, index);
}

// How many faces the record's own file holds, 0 when it cannot be read. Face 0 of a
// readable file reports the count as well and is usually the one taken, so it is asked
// first; only when it cannot open is the file probed for its count.
FT_Long FaceResolver::ownFaceCount(const FontRecord& record) {
  if (const auto first = openOwnFace(record, 0)) return first->handle()->num_faces;
  FT_Face probe = nullptr;
  const FT_Error error =
      record.path ? openFaceFromFile(library, record.path->c_str(), -1, &probe)
                  : FT_New_Memory_Face(library, record.data->bytes.data(),
                                       static_cast<FT_Long>(record.data->bytes.size()), -1,
                                       &probe);
  if (error != 0) return 0;
  const FT_Long count = probe->num_faces;
  FT_Done_Face(probe);
  return count;
}

bool FaceResolver::openFromOwnSource(FontRecord& record) {
  const FT_Long faceCount = std::min<FT_Long>(ownFaceCount(record), kMaxFaceIndicesTried);
  for (FT_Long index = 0; index < faceCount; ++index) {
    auto face = openOwnFace(record, index);
    if (face && matchesRecord(record, face->handle())) {
      record.face = std::move(face);
      return true;
    }
  }
  return false;
}

// Asks the lookup, relaxing italic first and then bold.
bool FaceResolver::openThroughLookup(FontRecord& record) {
  if (!record.family || lookup == nullptr) return false;
  const std::string& family = *record.family;
  FaceLocation location;
  const bool found = lookup->findFace(family, record.bold, record.italic, location) ||
                     (record.italic && lookup->findFace(family, record.bold, false, location)) ||
                     (record.bold && lookup->findFace(family, false, false, location));
  return found && openLocated(record, location);
}

bool FaceResolver::openLocated(FontRecord& record, const FaceLocation& location) {
  // The cache stores 64-bit indices; FreeType takes the low 32 bits.
  const auto index = static_cast<std::int32_t>(static_cast<std::uint32_t>(location.faceIndex));
  record.face = faces.openFile(library, location.path, index);
  if (!record.face) return false;
  if (record.italic && !(record.face->handle()->style_flags & FT_STYLE_FLAG_ITALIC)) {
    // The shear is the record's: a shared face gets it from prepare() whenever this
    // record draws, and an upright record sharing the face draws unsheared.
    record.transform = FT_Matrix{0x10000, kSyntheticItalicShear, 0, 0x10000};
    record.loadFlags |= FT_LOAD_NO_BITMAP;
  }
  return true;
}

bool FaceResolver::resolveCharacter(FontRecord& record, char32_t codePoint) {
  FaceLocation location;
  if (lookup != nullptr &&
      lookup->findFaceWithCharacter(codePoint, record.bold, record.italic, location) &&
      openLocated(record, location))
    return true;
  record.closeFace();
  return false;
}

bool FaceResolver::resolve(FontRecord& record) {
  if (record.face) return true;
  if (record.hasOwnSource() && openFromOwnSource(record)) return true;
  if (openThroughLookup(record)) return true;
  record.closeFace();
  return false;
}

}  // namespace Orb
