#pragma once
// Opens the FreeType face a font record asks for: from the record's own file or bytes
// first, then through the owner's face lookup, with a synthetic italic when the lookup
// can only offer an upright face.
#include <cstdint>

#include "text/FacePool.h"
#include "text/FaceLookup.h"
#include "text/FontRecord.h"

namespace Orb {

/// Font collections with more faces than this are only searched this far: a file that
/// claims a million faces would otherwise cost a million failed opens.
constexpr long kMaxFaceIndicesTried = 256;

/// The 0.3 shear of the synthetic italic, in 16.16.
constexpr FT_Fixed kSyntheticItalicShear = 0x4CCC;

class FaceResolver {
 public:
  /// Opens faces with `library` through `faces`, asking `lookup` (may be null) for faces
  /// the records do not hold themselves. All three are borrowed for the resolver's life.
  FaceResolver(FT_Library freeType, FacePool& pool, FaceLookup* faceLookup)
      : library(freeType), faces(pool), lookup(faceLookup) {}

  /// Makes sure `record` has an open face. True when it already had one or one was found.
  /// On false the record has no face; the caller decides what the style falls back to.
  bool resolve(FontRecord& record);

  /// Opens into `record` (without a face) the face the lookup finds with `codePoint` for
  /// the record's bold and italic, sheared as an italic when the record asks for one and
  /// the face is upright. False, the record left without a face, when none is found.
  bool resolveCharacter(FontRecord& record, char32_t codePoint);

 private:
  std::shared_ptr<SharedFace> openOwnFace(const FontRecord& record, FT_Long index);
  FT_Long ownFaceCount(const FontRecord& record);
  bool openFromOwnSource(FontRecord& record);
  bool openThroughLookup(FontRecord& record);
  bool openLocated(FontRecord& record, const FaceLocation& location);

  FT_Library library;
  FacePool& faces;
  FaceLookup* lookup;
};

}  // namespace Orb
