#pragma once
// Glyph images kept between characters and subtitles, so that a glyph seen before costs a
// look-up instead of two loads, a stroke and two conversions. Bounded in bytes; the least
// recently used images go first.
#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>

#include "text/GlyphImage.h"

namespace Orb {

/// Everything that decides a glyph image. The face serial stands for the font source,
/// face index and so the bold and italic face chosen; transform and load flags for a
/// synthetic italic; size and stroke radius for the scale.
struct GlyphKey {
  std::uint64_t faceSerial = 0;
  std::int32_t pixelSize = 0;
  std::uint32_t glyph = 0;
  bool byIndex = false;
  FT_Int32 loadFlags = 0;
  FT_Matrix transform{0x10000, 0, 0, 0x10000};
  FT_Fixed strokeRadius = 0;
  bool exact = false;

  /// The key of the image `request` makes (its face must be set).
  static GlyphKey of(const GlyphRequest& request);
  bool operator==(const GlyphKey& other) const;
};

struct GlyphKeyHash {
  std::size_t operator()(const GlyphKey& key) const;
};

/// Counters for benchmarks and tests; they only ever grow, except as clear() says.
struct GlyphCacheCounters {
  std::uint64_t hits = 0;
  std::uint64_t misses = 0;
  std::uint64_t evictions = 0;
  std::size_t bytes = 0;    // held now, images and bookkeeping
  std::size_t entries = 0;  // held now
};

class GlyphCache {
 public:
  /// 16 MiB holds about 850 outlined glyphs at 49 pixels (1080p) with their painted
  /// copies, so the Latin letters of four styles at several sizes and some hundreds of CJK
  /// characters; at 98 pixels (4K) about 220. It is the largest part of a renderer's memory, and a host may run one
  /// renderer per stream.
  static constexpr std::size_t kDefaultBudget = std::size_t{16} << 20;
  /// An image larger than this share of the budget is built each time rather than kept,
  /// so that a few giant glyphs (markup allows 1024 pixels) cannot flush the rest.
  static constexpr std::size_t kLargestShare = 8;

  explicit GlyphCache(std::size_t budgetBytes = kDefaultBudget) : budget(budgetBytes) {}

  /// A stored image with the painted copy kept beside it.
  struct Found {
    const GlyphImage* image = nullptr;  // null: the glyph cannot be drawn
    PaintedGlyph* painted = nullptr;    // null when the image is not kept
  };

  /// The image stored for `key` (null when `built` was false: the glyph cannot be drawn),
  /// counting a hit; false, counting a miss, when nothing is stored for it. Valid until the
  /// next store or reset.
  bool find(const GlyphKey& key, Found& found);

  /// Stores `image` (moved from) for `key`, which find() has just missed, unless it is too
  /// large to keep; `built` false remembers that the glyph cannot be drawn. Returns the
  /// stored image, or `image` itself (with no painted copy) when it was not kept. Evicts
  /// least recently used images to stay within the budget, which counts every image twice:
  /// once as built and once painted.
  Found store(const GlyphKey& key, GlyphImage& image, bool built);

  /// Drops every image and sets a new budget (0 keeps nothing). Counters of hits, misses
  /// and evictions are kept.
  void reset(std::size_t budgetBytes);
  void clear() { reset(budget); }

  const GlyphCacheCounters& counters() const { return count; }
  std::size_t budgetBytes() const { return budget; }

 private:
  struct Entry {
    GlyphKey key;
    GlyphImage image;
    PaintedGlyph painted;
    bool built = false;
    std::size_t bytes = 0;
  };
  using Order = std::list<Entry>;  // most recently used first

  void evictDownTo(std::size_t bytes);

  std::size_t budget;
  Order order;
  std::unordered_map<GlyphKey, Order::iterator, GlyphKeyHash> index;
  GlyphCacheCounters count;
};

}  // namespace Orb
