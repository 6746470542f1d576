#include "text/GlyphCache.h"

namespace Orb {

namespace {

// What one entry costs besides its pixels: the list node, the index node and its bucket.
constexpr std::size_t kEntryOverhead = 128;

void mix(std::size_t& hash, std::uint64_t value) {
  hash ^= static_cast<std::size_t>(value) + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
}

}  // namespace

bool GlyphKey::operator==(const GlyphKey& other) const {
  return faceSerial == other.faceSerial && pixelSize == other.pixelSize &&
         codePoint == other.codePoint && loadFlags == other.loadFlags &&
         transform.xx == other.transform.xx && transform.xy == other.transform.xy &&
         transform.yx == other.transform.yx && transform.yy == other.transform.yy &&
         strokeRadius == other.strokeRadius;
}

std::size_t GlyphKeyHash::operator()(const GlyphKey& key) const {
  std::size_t hash = 0;
  mix(hash, key.faceSerial);
  mix(hash, (std::uint64_t{key.codePoint} << 32) | static_cast<std::uint32_t>(key.pixelSize));
  mix(hash, static_cast<std::uint64_t>(key.loadFlags));
  mix(hash, static_cast<std::uint64_t>(key.transform.xy));
  mix(hash, static_cast<std::uint64_t>(key.transform.xx ^ key.transform.yy ^ key.transform.yx));
  mix(hash, static_cast<std::uint64_t>(key.strokeRadius));
  return hash;
}

bool GlyphCache::find(const GlyphKey& key, const GlyphImage*& image) {
  const auto found = index.find(key);
  if (found == index.end()) {
    ++count.misses;
    return false;
  }
  ++count.hits;
  order.splice(order.begin(), order, found->second);
  image = found->second->built ? &found->second->image : nullptr;
  return true;
}

const GlyphImage* GlyphCache::store(const GlyphKey& key, GlyphImage& image, bool built) {
  const std::size_t bytes = (built ? image.pixels.capacity() : 0) + kEntryOverhead;
  if (bytes > budget / kLargestShare) return built ? &image : nullptr;
  evictDownTo(budget - bytes);
  order.push_front(Entry{key, built ? std::move(image) : GlyphImage{}, built, bytes});
  index.emplace(key, order.begin());
  count.bytes += bytes;
  ++count.entries;
  return built ? &order.front().image : nullptr;
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
