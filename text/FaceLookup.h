#pragma once
// How the renderer finds installed faces. The renderer only asks; whoever owns an index
// of the installed fonts (the component, over its face cache) answers. The renderer decides
// how far a style may give way (italic first, then bold) and what a face that is not found
// falls back to, and asks for a face by character when the one it draws with lacks it.
#include <cstdint>
#include <string>

namespace Orb {

/// Where a face lives: a font file and the face's index inside it.
struct FaceLocation {
  std::string path;
  std::int64_t faceIndex = 0;
};

class FaceLookup {
 public:
  virtual ~FaceLookup() = default;

  /// The face of `family` in the given style (the index may give way in its own order, as
  /// the face cache does); false when it holds none. `location` is set only on true.
  virtual bool findFace(const std::string& family, bool bold, bool italic,
                        FaceLocation& location) = 0;

  /// A face that has the character `codePoint`, for text in the given style, the first in
  /// the index's own order (its owner may prefer families of its choosing); false when no
  /// face it knows has it. An index that does not record characters finds none.
  /// `location` is set only on true.
  virtual bool findFaceWithCharacter(char32_t /*codePoint*/, bool /*bold*/, bool /*italic*/,
                                     FaceLocation& /*location*/) {
    return false;
  }
};

}  // namespace Orb
