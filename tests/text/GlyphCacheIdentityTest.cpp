// Caching must not change a single output byte: the same sequence of renders, with the
// caches on, with a budget small enough to evict all the time, and with them off; for the
// full layout also with the shaped words it keeps, against lines always shaped whole.
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

TEST(GlyphCacheIdentity, FullLayoutFromKeptWordsMatchesLinesShapedWhole) {
  std::vector<RenderCorpus::RenderCase> cases = RenderCorpus::cases();
  // Words met before in other orders and beside other scripts, which the second pass of the
  // corpus above does not reorder.
  for (const char* text : {"To AV, Wa Ty. never said that", "that said never. AV To Ty Wa,",
                           "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D AV 42 \xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 To",
                           "42 \xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 To \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D AV"}) {
    cases.emplace_back(text);
  }
  const std::vector<RenderCorpus::RendererSetup> setups = RenderCorpus::renderers();
  for (std::size_t s = 0; s < 3 && s < setups.size(); ++s) {
    auto kept = setups[s].create();
    auto whole = setups[s].create();
    ASSERT_TRUE(kept && whole) << setups[s].name;
    for (auto* created : {&kept, &whole}) renderer(*created).setLayout(Orb::LayoutEngine::Full, 2);
    renderer(whole).setCaching(0, false);
    for (std::size_t i = 0; i < cases.size(); ++i) {
      EXPECT_TRUE(RenderCorpus::render(*kept, cases[i]) == RenderCorpus::render(*whole, cases[i]))
          << setups[s].name << " #" << i << ": " << cases[i].subtitle;
    }
  }
}

}  // namespace
