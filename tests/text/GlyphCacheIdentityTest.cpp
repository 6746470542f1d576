// Caching must not change a single output byte: the same sequence of renders, with the
// caches on, with a budget small enough to evict all the time, and with them off.
#include <gtest/gtest.h>

#include "tests/text/RenderCorpus.h"
#include "text/TextRenderer.h"

namespace {

Orb::TextRenderer& renderer(const std::unique_ptr<Orb::TextRendererInterface>& created) {
  return static_cast<Orb::TextRenderer&>(*created);
}

TEST(GlyphCacheIdentity, CachedRendersMatchUncachedByteForByte) {
  const std::vector<RenderCorpus::RenderCase> cases = RenderCorpus::cases();
  for (const RenderCorpus::RendererSetup& setup : RenderCorpus::renderers()) {
    auto cached = setup.create();
    auto evicting = setup.create();
    auto uncached = setup.create();
    ASSERT_TRUE(cached && evicting && uncached) << setup.name;
    renderer(evicting).setCaching(128 << 10, true);
    renderer(uncached).setCaching(0, false);
    for (std::size_t i = 0; i < cases.size(); ++i) {
      const RenderCorpus::RenderOutput expected = RenderCorpus::render(*uncached, cases[i]);
      EXPECT_TRUE(RenderCorpus::render(*cached, cases[i]) == expected) << setup.name << " #" << i;
      EXPECT_TRUE(RenderCorpus::render(*evicting, cases[i]) == expected) << setup.name << " #" << i;
    }
    const Orb::GlyphCacheCounters& counters = renderer(cached).glyphCacheCounters();
    EXPECT_GT(counters.hits, counters.misses) << setup.name << ": the second pass repeats the first";
    EXPECT_GT(renderer(evicting).glyphCacheCounters().evictions, 0u) << setup.name;
    EXPECT_LE(renderer(evicting).glyphCacheCounters().bytes, std::size_t{128} << 10);
    EXPECT_EQ(renderer(uncached).glyphCacheCounters().entries, 0u);
  }
}

}  // namespace
