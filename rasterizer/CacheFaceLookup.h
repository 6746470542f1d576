#pragma once
// The renderer's face lookup answered from the component's face cache. Lives as long as
// the component; the component serialises every call under its lock.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "fontcache/CacheDatabase.h"
#include "text/FaceLookup.h"

namespace Orb {

class CacheFaceLookup final : public FaceLookup {
 public:
  /// Characters whose answers are remembered at most; past that, all are forgotten and
  /// remembering starts again, so that a stream of every code point costs bounded memory.
  static constexpr std::size_t kRememberedCharacters = std::size_t{1} << 16;

  /// Asks `cache` (not owned; it must outlive the lookup), which may be closed: a closed
  /// cache finds nothing.
  explicit CacheFaceLookup(CacheDatabase& database) : cache(database) {}

  bool findFace(const std::string& family, bool bold, bool italic,
                FaceLocation& location) override;

  /// Asks the cache once per character and style: the answer, or that no face has the
  /// character, is remembered until the fallback families change. The families come
  /// first after the style (see FindFaceWithCharacter).
  bool findFaceWithCharacter(char32_t codePoint, bool bold, bool italic,
                             FaceLocation& location) override;

  /// The families preferred for characters the subtitle's font lacks, in order. Answers
  /// whether they differ from the ones before, whose remembered answers are then forgotten.
  bool setFallbackFamilies(std::vector<std::string> families);

 private:
  CacheDatabase& cache;
  std::vector<std::string> fallbackFamilies;
  std::vector<FaceLocation> answeredFaces;  // each face answered, once
  // Character and style (code point << 2 | bold << 1 | italic) to an index of
  // answeredFaces, or -1 when no face has it.
  std::unordered_map<std::uint64_t, std::int32_t> answers;
};

}  // namespace Orb
