#pragma once
// The faces a renderer has open, by file (or in-memory font) and face index, so that font
// records asking for the same face share one instead of each parsing the file again: a
// markup push of b, i or font face then costs a lookup, not a parse. Faces no record uses
// stay open for later subtitles, up to kIdleFaces besides the one opened last; the least
// recently asked for close first. A face keeps what FreeType read at its opening: a file
// replaced on disk is read again only once its face has been closed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "text/SharedFace.h"

namespace Orb {

class FacePool {
 public:
  /// Faces kept open while no record uses them: the regular, bold, italic and bold italic
  /// faces of a few families, as subtitles in one file keep asking for the same ones.
  static constexpr std::size_t kIdleFaces = 16;

  /// With `share` false every open() opens a face of its own and nothing is kept.
  explicit FacePool(bool share = true) : sharing(share) {}

  /// The face `index` of the file at `path`, or null when FreeType cannot open it.
  std::shared_ptr<SharedFace> openFile(FT_Library library, const std::string& path, FT_Long index);
  /// The face `index` of the font bytes `data` (not null), or null.
  std::shared_ptr<SharedFace> openMemory(FT_Library library,
                                         const std::shared_ptr<const FontData>& data,
                                         FT_Long index);

  /// Closes every face no record uses and sets whether faces are shared from now on.
  void reset(bool share);
  std::size_t openFaces() const { return entries.size(); }

 private:
  struct Entry {
    std::string path;             // empty for faces from memory
    const FontData* data = nullptr;  // kept alive by the face
    FT_Long index = 0;
    std::uint64_t lastUse = 0;
    std::shared_ptr<SharedFace> face;
  };

  std::shared_ptr<SharedFace> find(const std::string& path, const FontData* data, FT_Long index);
  std::shared_ptr<SharedFace> keep(Entry entry);
  void closeIdleBeyondLimit();

  bool sharing;
  std::vector<Entry> entries;
  std::uint64_t uses = 0;
  std::uint64_t serials = 0;
};

}  // namespace Orb
