#pragma once
// How the renderer finds installed faces. The renderer only asks; whoever owns an index
// of the installed fonts (the component, over its face cache) answers. The renderer decides
// how far a style may give way (italic first, then bold) and what a face that is not found
// falls back to.
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
};

}  // namespace Orb
