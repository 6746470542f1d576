// The component's face lookup by character: asked of the face cache once per character
// and style, and asked again only when the preferred families change.
#include "rasterizer/CacheFaceLookup.h"

#include <gtest/gtest.h>

#include "FontCacheTestSupport.h"
#include "fontcache/FontCacheRefresh.h"

using namespace FontCacheTest;

namespace {

TEST(CacheFaceLookup, AnswersAreRememberedUntilTheFallbackFamiliesChange) {
  DataFolderOverride data;
  TemporaryFolder fonts;
  copyFont(kDejaVuFolder / "DejaVuSans.ttf", fonts.path());
  copyFont(kCollectionFont, fonts.path());
  Orb::ForgetFontCacheRefreshForTesting();
  Orb::CacheDatabase cache;
  ASSERT_TRUE(Orb::RefreshFontCache(cache, {fonts.entry()}, Orb::kFontCacheName));
  Orb::CacheFaceLookup lookup(cache);
  Orb::FaceLocation location;
  ASSERT_TRUE(lookup.findFaceWithCharacter(U'日', false, false, location));
  EXPECT_EQ(location.path, fonts.entry() + "wqy-zenhei.ttc");
  EXPECT_FALSE(lookup.findFaceWithCharacter(0x378, false, false, location));

  // From here on the cache knows of no character at all.
  SqliteFile file(data.cacheFile());
  ASSERT_EQ(file.exec("DELETE FROM face_coverage_page;"), SQLITE_OK);
  location = {};
  ASSERT_TRUE(lookup.findFaceWithCharacter(U'日', false, false, location)) << "remembered";
  EXPECT_EQ(location.path, fonts.entry() + "wqy-zenhei.ttc");
  EXPECT_FALSE(lookup.findFaceWithCharacter(U'日', true, false, location)) << "another style is asked";

  EXPECT_FALSE(lookup.setFallbackFamilies({}));
  EXPECT_TRUE(lookup.findFaceWithCharacter(U'日', false, false, location)) << "nothing changed";
  EXPECT_TRUE(lookup.setFallbackFamilies({"WenQuanYi Zen Hei"}));
  EXPECT_FALSE(lookup.findFaceWithCharacter(U'日', false, false, location)) << "asked again";
  Orb::ForgetFontCacheRefreshForTesting();
}

}  // namespace
