#include "bench/fontcache/FontFolderFixture.h"

#include <cctype>

#include "FontCacheTestSupport.h"
#include "SqliteFile.h"
#include "fontcache/CacheDatabase.h"
#include "fontcache/FontCacheRefresh.h"

namespace QuillBench {

using namespace FontCacheTest;

namespace {
const std::filesystem::path kInstalledFonts = "/usr/share/fonts";
}

struct FontFolderFixture::Folders {
  DataFolderOverride data;
  TemporaryFolder fonts;
};

FontFolderFixture& FontFolderFixture::shared() {
  static FontFolderFixture fixture;
  return fixture;
}

FontFolderFixture::FontFolderFixture() : folders(std::make_unique<Folders>()) {
  std::size_t index = 0;
  for (const auto& file : std::filesystem::recursive_directory_iterator(kInstalledFonts)) {
    if (!file.is_regular_file()) continue;
    std::string extension = file.path().extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".ttf" && extension != ".otf" && extension != ".ttc") continue;
    // Packages may ship the same name twice; keep both.
    copyFont(file.path(), folders->fonts.path(), std::to_string(index++) + "-" + file.path().filename().string());
    ++files;
  }
}

FontFolderFixture::~FontFolderFixture() = default;

std::string FontFolderFixture::entry() const { return folders->fonts.entry(); }

const std::filesystem::path& FontFolderFixture::folder() const { return folders->fonts.path(); }

std::filesystem::path FontFolderFixture::cacheFile() const { return folders->data.cacheFile(); }

bool FontFolderFixture::refreshAsNewProcess() {
  Orb::ForgetFontCacheRefreshForTesting();
  Orb::CacheDatabase cache;
  return Orb::RefreshFontCache(cache, {entry()}, Orb::kFontCacheName);
}

std::vector<std::string> FontFolderFixture::families() {
  if (!std::filesystem::exists(cacheFile())) refreshAsNewProcess();
  std::vector<std::string> names;
  SqliteFile file(cacheFile());
  for (const auto& row : file.rows("SELECT DISTINCT family FROM face_v2 WHERE family IS NOT NULL;"))
    names.push_back(row[0]);
  return names;
}

}  // namespace QuillBench
