#include "text/GlyphCache.h"

namespace Orb {

namespace {

// What one entry costs besides its pixels: the list node, the index node and its bucket.
constexpr std::size_t kEntryOverhead = 128;

void mix(std::size_t& hash, std::uint64_t value) {
  hash ^= static_cast<std::size_t>(value) + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
}

}  // namespace

GlyphKey GlyphKey::of(const GlyphRequest& request) {
  GlyphKey key;
  key.faceSerial = request.face->serial();
  key.pixelSize = request.size;
  key.glyph = request.glyph;
  key.byIndex = request.byIndex;
  key.loadFlags = request.loadFlags;
  key.transform = request.transform;
  key.strokeRadius = request.strokeRadius;
  key.exact = request.exact;
  return key;
}

bool GlyphKey::operator==(const GlyphKey& other) const {
  return faceSerial == other.faceSerial && pixelSize == other.pixelSize &&
         glyph == other.glyph && byIndex == other.byIndex && loadFlags == other.loadFlags &&
         transform.xx == other.transform.xx && transform.xy == other.transform.xy &&
         transform.yx == other.transform.yx && transform.yy == other.transform.yy &&
         strokeRadius == other.strokeRadius && exact == other.exact;
}

std::size_t GlyphKeyHash::operator()(const GlyphKey& key) const {
  std::size_t hash = 0;
  mix(hash, key.faceSerial);
  // Pixel sizes stay far below 2^30, which leaves the top bits for how the glyph is chosen
  // and placed.
  mix(hash, (std::uint64_t{key.glyph} << 32) | static_cast<std::uint32_t>(key.pixelSize) |
                (key.byIndex ? 0x80000000u : 0u) | (key.exact ? 0x40000000u : 0u));
  mix(hash, static_cast<std::uint64_t>(key.loadFlags));
  mix(hash, static_cast<std::uint64_t>(key.transform.xy));
  mix(hash, static_cast<std::uint64_t>(key.transform.xx ^ key.transform.yy ^ key.transform.yx));
  mix(hash, static_cast<std::uint64_t>(key.strokeRadius));
  return hash;
}

bool GlyphCache::find(const GlyphKey& key, Found& found) {
  const auto stored = index.find(key);
  if (stored == index.end()) {
    ++count.misses;
    return false;
  }
  ++count.hits;
  order.splice(order.begin(), order, stored->second);
  Entry& entry = *stored->second;
  found = entry.built ? Found{&entry.image, &entry.painted} : Found{};
  return true;
}

GlyphCache::Found GlyphCache::store(const GlyphKey& key, GlyphImage& image, bool built) {
  // The painted copy, made at the first draw, is as large as the built image.
  const std::size_t bytes = (built ? 2 * image.pixels.capacity() : 0) + kEntryOverhead;
  if (bytes > budget / kLargestShare) return Found{built ? &image : nullptr, nullptr};
  evictDownTo(budget - bytes);
  order.push_front(Entry{key, built ? std::move(image) : GlyphImage{}, PaintedGlyph{}, built, bytes});
  index.emplace(key, order.begin());
  count.bytes += bytes;
  ++count.entries;
  Entry& entry = order.front();
  return built ? Found{&entry.image, &entry.painted} : Found{};
}

void GlyphCache::reset(std::size_t budgetBytes) {
  budget = budgetBytes;
  index.clear();
  order.clear();
  count.bytes = 0;
  count.entries = 0;
}

void GlyphCache::evictDownTo(std::size_t bytes) {
  while (count.bytes > bytes && !order.empty()) {
    const Entry& last = order.back();
    count.bytes -= last.bytes;
    --count.entries;
    ++count.evictions;
    index.erase(last.key);
    order.pop_back();
  }
}

}  // namespace Orb
