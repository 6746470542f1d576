#include "text/FontResolution.h"

#include <tuple>

namespace Orb {

namespace {

// Requests are equal when the records they make are: same family, source and style.
bool sameAsk(const FontRecord& a, const FontRecord& b) {
  return std::tie(a.family, a.path, a.data, a.bold, a.italic) ==
         std::tie(b.family, b.path, b.data, b.bold, b.italic);
}

}  // namespace

ResolvedFonts resolveFonts(const std::vector<FontRequest>& requests,
                           const std::shared_ptr<const FontRecord>& base, FaceResolver& resolver) {
  ResolvedFonts resolved;
  resolved.ofRequest.reserve(requests.size());
  resolved.ofRequest.push_back(base);
  // Each record asked for, and whether it has a face.
  std::vector<std::pair<std::shared_ptr<FontRecord>, bool>> asked;
  for (std::size_t i = 1; i < requests.size(); ++i) {
    const FontRequest& request = requests[i];
    const std::shared_ptr<const FontRecord>& parent =
        resolved.ofRequest[request.parent < i ? request.parent : 0];
    std::shared_ptr<FontRecord> record = parent->clone();
    record->bold = request.bold;
    record->italic = request.italic;
    if (request.family) record->family = request.family;
    std::shared_ptr<const FontRecord> drawn;
    for (const auto& [earlier, found] : asked) {
      if (sameAsk(*earlier, *record)) {
        drawn = found ? earlier : parent;
        break;
      }
    }
    if (!drawn) {
      const bool found = resolver.resolve(*record);
      drawn = found ? record : parent;
      asked.emplace_back(std::move(record), found);
    }
    resolved.ofRequest.push_back(std::move(drawn));
  }
  return resolved;
}

}  // namespace Orb
