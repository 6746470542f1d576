#pragma once
// The face index asked by character: which recorded face has a character the face in use
// lacks. One query on the page of the character, whatever the number of faces recorded;
// no font file is opened.
#include <cstdint>
#include <string>
#include <vector>

namespace Orb {

class CacheDatabase;

/// A face found by the index: its font file and its index inside the file.
struct FoundFace {
  std::string path;
  std::int64_t faceIndex = 0;
};

/// The face that text in style `bold`, `italic` should draw `codePoint` with, among the
/// faces of recorded folders whose character map has it. Faces rank, each rule deciding
/// only between faces the rules before it left equal:
///  1. the same bold and italic before any other style;
///  2. the families of `families`, earlier before later (names compared without regard
///     to ASCII letter case), before every other family;
///  3. families whose names begin "Noto Sans", then "Noto Serif", other "Noto " families,
///     "DejaVu Sans", other "DejaVu " families, then all others: faces that cover many
///     scripts and match one another first;
///  4. family name, in byte order;
///  5. the style nearest the one asked, as the lookup by family relaxes it: bold given
///     way first, then italic, then both;
///  6. folder, file name and face index.
/// False when no recorded face has the character, the cache has no coverage record or the
/// query fails; `found` is then unchanged.
bool FindFaceWithCharacter(CacheDatabase& cache, char32_t codePoint, bool bold, bool italic,
                           const std::vector<std::string>& families, FoundFace& found);

}  // namespace Orb
