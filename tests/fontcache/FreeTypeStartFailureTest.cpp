// Built with the linker redirecting FT_Init_FreeType here, so that a test can make
// FreeType refuse to start, which it otherwise does only when memory runs out.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include "FontCacheTestSupport.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/FolderScan.h"
#include "fontcache/FontCacheRefresh.h"

namespace {
bool refuseFreeType = false;
}

extern "C" FT_Error __real_FT_Init_FreeType(FT_Library* library);
extern "C" FT_Error __wrap_FT_Init_FreeType(FT_Library* library) {
  return refuseFreeType ? FT_Err_Out_Of_Memory : __real_FT_Init_FreeType(library);
}

using namespace FontCacheTest;

namespace {

int neverCached(const char*, std::int64_t, void*) { return -1; }
int countInsert(const char*, std::int64_t, const char*, std::int64_t, unsigned char, unsigned char,
                void* context) {
  ++*static_cast<int*>(context);
  return 1;
}
int neverFound(const char*, unsigned char, unsigned char, void*, char**, std::int64_t*) { return -1; }

class FreeTypeStartFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    Orb::ForgetFontCacheRefreshForTesting();
    copyFont(kDejaVuFolder / "DejaVuSans.ttf", fonts.path());
    refuseFreeType = true;
  }
  void TearDown() override {
    refuseFreeType = false;
    Orb::ForgetFontCacheRefreshForTesting();
  }

  DataFolderOverride data;
  TemporaryFolder fonts;
};

TEST_F(FreeTypeStartFailure, ScanRecordsNothingAndSaysSo) {
  const Orb::FaceCacheCallbacks counting{&neverCached, &countInsert, &neverFound};
  int inserts = 0;
  EXPECT_FALSE(Orb::InitTextRendererFaceCache(fonts.entry().c_str(), &counting, &inserts));
  EXPECT_EQ(inserts, 0);
}

TEST_F(FreeTypeStartFailure, RefreshIsUndoneAndTriedAgainLater) {
  {
    Orb::CacheDatabase cache;
    EXPECT_FALSE(Orb::RefreshFontCache(cache, {fonts.entry()}, Orb::kFontCacheName));
  }
  {
    SqliteFile file(data.cacheFile());
    EXPECT_EQ(file.value("SELECT count(*) FROM font_path;"), "0");
    EXPECT_EQ(file.value("SELECT count(*) FROM face_v2;"), "0");
  }
  refuseFreeType = false;
  Orb::CacheDatabase cache;
  ASSERT_TRUE(Orb::RefreshFontCache(cache, {fonts.entry()}, Orb::kFontCacheName));
  SqliteFile file(data.cacheFile());
  EXPECT_EQ(file.rows("SELECT family, face_index FROM face_v2;"),
            (Rows{{"DejaVu Sans", "0"}}));
}

}  // namespace
