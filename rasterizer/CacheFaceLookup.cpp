#include "rasterizer/CacheFaceLookup.h"

#include <cstdlib>

#include "fontcache/FaceLookup.h"

namespace Orb {

bool CacheFaceLookup::findFace(const std::string& family, bool bold, bool italic,
                               FaceLocation& location) {
  char* path = nullptr;
  std::int64_t faceIndex = 0;
  if (kFaceCacheCallbacks.findFace(family.c_str(), bold ? 1 : 0, italic ? 1 : 0, &cache, &path,
                                   &faceIndex) <= 0 ||
      path == nullptr) {
    return false;
  }
  location.path = path;
  location.faceIndex = faceIndex;
  std::free(path);  // the cache makes it with the C allocator
  return true;
}

}  // namespace Orb
