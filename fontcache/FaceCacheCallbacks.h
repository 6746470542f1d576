#pragma once
// The table through which the folder scan records faces and the text renderer looks them
// up. It is a plain C-style table so that the renderer can use the cache without linking
// it: whoever owns the cache hands a pointer to the table and a context pointer to both.
#include <cstdint>

namespace Orb {

struct FaceCacheCallbacks {
  /// Number of rows (at least 1) recording `path` with `timestamp`, or -1.
  int (*isFaceCached)(const char* path, std::int64_t timestamp, void* context);

  /// Records one face (or, with family null and faceIndex -1, an unreadable file).
  /// Answers 1 on success, -1 on failure.
  int (*insertFace)(const char* path, std::int64_t timestamp, const char* family,
                    std::int64_t faceIndex, unsigned char bold, unsigned char italic, void* context);

  /// Looks a face up by family and style. On 1 (found), `*path` is a new string from the C
  /// allocator that the caller frees with free(), and `*faceIndex` the face inside the
  /// file; on -1 both are left untouched.
  int (*findFace)(const char* family, unsigned char bold, unsigned char italic, void* context,
                  char** path, std::int64_t* faceIndex);
};

}  // namespace Orb
