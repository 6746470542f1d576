#pragma once
// The renderer's face lookup answered from the component's face cache.
#include "fontcache/CacheDatabase.h"
#include "text/FaceLookup.h"

namespace Orb {

class CacheFaceLookup final : public FaceLookup {
 public:
  /// Asks `cache` (not owned; it must outlive the lookup), which may be closed: a closed
  /// cache finds nothing.
  explicit CacheFaceLookup(CacheDatabase& database) : cache(database) {}

  bool findFace(const std::string& family, bool bold, bool italic,
                FaceLocation& location) override;

 private:
  CacheDatabase& cache;
};

}  // namespace Orb
