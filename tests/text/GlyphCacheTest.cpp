#include "text/GlyphCache.h"

#include <gtest/gtest.h>

namespace {

Orb::GlyphKey keyFor(char32_t codePoint) {
  Orb::GlyphKey key;
  key.faceSerial = 7;
  key.pixelSize = 22;
  key.glyph = codePoint;
  key.strokeRadius = Orb::strokeRadius(22);
  return key;
}

// An image whose pixels take `bytes` bytes and whose advance tells it apart.
Orb::GlyphImage imageOf(std::size_t bytes, std::int32_t advance) {
  Orb::GlyphImage image;
  image.pixels.assign(bytes, 1);
  image.pixels.shrink_to_fit();
  image.advance = advance;
  return image;
}

bool holds(Orb::GlyphCache& cache, const Orb::GlyphKey& key) {
  Orb::GlyphCache::Found found;
  return cache.find(key, found);
}

TEST(GlyphCache, EveryPartOfTheKeyTellsImagesApart) {
  Orb::GlyphCache cache;
  const Orb::GlyphKey base = keyFor(U'a');
  Orb::GlyphImage image = imageOf(100, 5);
  cache.store(base, image, true);
  std::vector<Orb::GlyphKey> others(8, base);
  others[0].faceSerial = 8;
  others[1].pixelSize = 23;
  others[2].glyph = U'b';
  others[3].loadFlags = FT_LOAD_NO_BITMAP;
  others[4].transform.xy = 0x4CCC;
  others[5].transform.yy = 0x8000;
  others[6].strokeRadius = 1;
  others[7].byIndex = true;
  for (const Orb::GlyphKey& other : others) EXPECT_FALSE(holds(cache, other));
  Orb::GlyphCache::Found found;
  ASSERT_TRUE(cache.find(base, found));
  ASSERT_NE(found.image, nullptr);
  EXPECT_NE(found.painted, nullptr) << "a kept image has a painted copy beside it";
  EXPECT_EQ(found.image->advance, 5);
  EXPECT_EQ(found.image->pixels.size(), 100u);
  EXPECT_EQ(cache.counters().hits, 1u);
  EXPECT_EQ(cache.counters().misses, others.size());
}

TEST(GlyphCache, EvictsLeastRecentlyUsedWithinItsBudget) {
  // Room for ten images of 100 bytes, their painted copies and bookkeeping, not eleven.
  Orb::GlyphCache cache(10 * 340);
  for (char32_t c = U'a'; c < U'a' + 10; ++c) {
    Orb::GlyphImage image = imageOf(100, 1);
    ASSERT_NE(cache.store(keyFor(c), image, true).image, &image) << "kept";
  }
  EXPECT_TRUE(holds(cache, keyFor(U'a')));  // now the most recent
  Orb::GlyphImage eleventh = imageOf(100, 1);
  const Orb::GlyphImage* stored = cache.store(keyFor(U'z'), eleventh, true).image;
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->pixels.size(), 100u);
  EXPECT_TRUE(eleventh.pixels.empty()) << "moved in, not copied";
  EXPECT_FALSE(holds(cache, keyFor(U'b')));
  EXPECT_TRUE(holds(cache, keyFor(U'a')));
  EXPECT_TRUE(holds(cache, keyFor(U'c')));
  EXPECT_EQ(cache.counters().evictions, 1u);
  EXPECT_EQ(cache.counters().entries, 10u);
  EXPECT_LE(cache.counters().bytes, cache.budgetBytes());
}

TEST(GlyphCache, GiantImagesAreLentBackAndFailuresRemembered) {
  Orb::GlyphCache cache(80000);
  Orb::GlyphImage giant = imageOf(80000 / Orb::GlyphCache::kLargestShare + 1, 9);
  const Orb::GlyphCache::Found lent = cache.store(keyFor(U'W'), giant, true);
  EXPECT_EQ(lent.image, &giant) << "drawn from the caller's image";
  EXPECT_EQ(lent.painted, nullptr) << "and drawn directly, with no copy to keep";
  EXPECT_EQ(giant.pixels.size(), 80000 / Orb::GlyphCache::kLargestShare + 1);
  EXPECT_FALSE(holds(cache, keyFor(U'W')));

  Orb::GlyphImage unused;
  EXPECT_EQ(cache.store(keyFor(U'x'), unused, false).image, nullptr);
  Orb::GlyphCache::Found found{&unused, nullptr};
  ASSERT_TRUE(cache.find(keyFor(U'x'), found)) << "a glyph that cannot be built is not retried";
  EXPECT_EQ(found.image, nullptr);

  cache.reset(0);
  EXPECT_EQ(cache.counters().entries, 0u);
  EXPECT_EQ(cache.counters().bytes, 0u);
  Orb::GlyphImage small = imageOf(10, 1);
  EXPECT_EQ(cache.store(keyFor(U'y'), small, true).image, &small) << "a zero budget keeps nothing";
  EXPECT_FALSE(holds(cache, keyFor(U'y')));
}

}  // namespace
