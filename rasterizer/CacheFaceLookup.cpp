#include "rasterizer/CacheFaceLookup.h"

#include <cstdlib>

#include "fontcache/CharacterLookup.h"
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

bool CacheFaceLookup::findFaceWithCharacter(char32_t codePoint, bool bold, bool italic,
                                            FaceLocation& location) {
  const std::uint64_t key = (std::uint64_t{codePoint} << 2) | (bold ? 2u : 0u) | (italic ? 1u : 0u);
  auto known = answers.find(key);
  if (known == answers.end()) {
    if (answers.size() >= kRememberedCharacters) answers.clear();
    FoundFace found;
    std::int32_t answer = -1;
    if (FindFaceWithCharacter(cache, codePoint, bold, italic, fallbackFamilies, found)) {
      answer = static_cast<std::int32_t>(answeredFaces.size());
      for (std::size_t i = 0; i < answeredFaces.size(); ++i) {
        if (answeredFaces[i].path == found.path && answeredFaces[i].faceIndex == found.faceIndex)
          answer = static_cast<std::int32_t>(i);
      }
      if (answer == static_cast<std::int32_t>(answeredFaces.size()))
        answeredFaces.push_back(FaceLocation{std::move(found.path), found.faceIndex});
    }
    known = answers.emplace(key, answer).first;
  }
  if (known->second < 0) return false;
  location = answeredFaces[static_cast<std::size_t>(known->second)];
  return true;
}

bool CacheFaceLookup::setFallbackFamilies(std::vector<std::string> families) {
  if (families == fallbackFamilies) return false;
  fallbackFamilies = std::move(families);
  answers.clear();
  answeredFaces.clear();
  return true;
}

}  // namespace Orb
