#include "fontcache/FolderScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

#include "FontCacheTestSupport.h"
#include "fontcache/FontFiles.h"

using namespace FontCacheTest;

namespace {

struct Recorded {
  std::string path;
  std::int64_t timestamp;
  std::optional<std::string> family;
  std::int64_t index;
  unsigned char bold;
  unsigned char italic;
};

// A cache kept in a vector, answering like the real one, so that the scan can be watched
// on its own.
struct ListCache {
  std::vector<Recorded> rows;

  static ListCache& of(void* context) { return *static_cast<ListCache*>(context); }

  static int isFaceCached(const char* path, std::int64_t timestamp, void* context) {
    int count = 0;
    for (const Recorded& row : of(context).rows) count += row.path == path && row.timestamp == timestamp;
    return count > 0 ? count : -1;
  }
  static int insertFace(const char* path, std::int64_t timestamp, const char* family,
                        std::int64_t index, unsigned char bold, unsigned char italic, void* context) {
    of(context).rows.push_back(Recorded{path, timestamp,
                                        family ? std::optional<std::string>(family) : std::nullopt,
                                        index, bold, italic});
    return 1;
  }
  static int findFace(const char*, unsigned char, unsigned char, void*, char**, std::int64_t*) {
    return -1;
  }

  std::vector<Recorded> rowsOf(const std::filesystem::path& file) const {
    std::vector<Recorded> found;
    for (const Recorded& row : rows)
      if (row.path == file.string()) found.push_back(row);
    return found;
  }
};

const Orb::FaceCacheCallbacks kListCallbacks{&ListCache::isFaceCached, &ListCache::insertFace,
                                             &ListCache::findFace};

// A collection whose header claims `claimed` faces, every one of them pointing at the
// same real font, so that each claimed face really opens. FreeType refuses a claim the
// file is too small to hold, so the font must be large enough.
std::string collectionClaiming(std::uint32_t claimed, const std::filesystem::path& font) {
  std::ifstream file(font, std::ios::binary);
  std::string sfnt((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const std::uint32_t base = 12 + 4 * claimed;
  auto put32 = [](std::string& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(value >> (24 - 8 * i));
  };
  auto get32 = [](const std::string& in, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(in[at + i]);
    return value;
  };
  // Table offsets count from the start of the file, which now begins with the header.
  const unsigned tables = (static_cast<unsigned char>(sfnt[4]) << 8) | static_cast<unsigned char>(sfnt[5]);
  for (unsigned t = 0; t < tables; ++t) put32(sfnt, 12 + 16 * t + 8, get32(sfnt, 12 + 16 * t + 8) + base);
  std::string header(base, '\0');
  header.replace(0, 4, "ttcf");
  put32(header, 4, 0x00010000);
  put32(header, 8, claimed);
  for (std::uint32_t k = 0; k < claimed; ++k) put32(header, 12 + 4 * k, base);
  return header + sfnt;
}

class FolderScan : public ::testing::Test {
 protected:
  void SetUp() override { RecordingLog_clear(); }
  bool scan() { return Orb::InitTextRendererFaceCache(fonts.entry().c_str(), &kListCallbacks, &cache); }

  TemporaryFolder fonts;
  ListCache cache;
};

TEST_F(FolderScan, RecordsEveryFaceWithFamilyStyleAndFileTime) {
  const auto regular = copyFont(kDejaVuFolder / "DejaVuSans.ttf", fonts.path());
  const auto boldItalic = copyFont(kDejaVuFolder / "DejaVuSerif-BoldItalic.ttf", fonts.path(), "SERIF.TTF");
  setModificationTime(regular, 1300000000);

  EXPECT_TRUE(scan());
  ASSERT_EQ(cache.rows.size(), 2u);
  const Recorded sans = cache.rowsOf(regular).at(0);
  EXPECT_EQ(sans.family, "DejaVu Sans");
  EXPECT_EQ(sans.index, 0);
  EXPECT_EQ(sans.bold, 0);
  EXPECT_EQ(sans.italic, 0);
  EXPECT_EQ(sans.timestamp, 1300000000);
  const Recorded serif = cache.rowsOf(boldItalic).at(0);
  EXPECT_EQ(serif.family, "DejaVu Serif");
  EXPECT_EQ(serif.bold, 1);
  EXPECT_EQ(serif.italic, 1);
  EXPECT_EQ(serif.timestamp, Orb::FileModificationTime(boldItalic.string()));
  EXPECT_EQ(triesOf(regular.string()), 1);
  // Log readers filter by the record's fixed fields.
  const std::vector<RecordedMessage> messages = RecordingLog_messages();
  const auto tried = std::find_if(messages.begin(), messages.end(), [&](const RecordedMessage& message) {
    return message.text == "trying font at '" + regular.string() + "'";
  });
  ASSERT_NE(tried, messages.end());
  EXPECT_EQ(tried->category, "Text");
  EXPECT_EQ(tried->function, "Orb::InitTextRendererFaceCache");
  EXPECT_EQ(tried->line, 1960);
  EXPECT_EQ(tried->format, "trying font at '%s'");
}

TEST_F(FolderScan, NamesInWideScriptsAreRecorded) {
  // Three UTF-8 bytes for each UTF-16 unit of the name.
  const auto file = copyFont(kDejaVuFolder / "DejaVuSans.ttf", fonts.path(), "\xE6\x96\x87\xE6\xB3\x89\xE9\xA9\xBF.ttf");
  EXPECT_TRUE(scan());
  ASSERT_EQ(cache.rowsOf(file).size(), 1u);
  EXPECT_EQ(cache.rowsOf(file)[0].family, "DejaVu Sans");
}

TEST_F(FolderScan, AbsurdFaceCountIsCapped) {
  const auto file = writeFile(fonts.path(), "many.ttc", collectionClaiming(5000, kDejaVuFolder / "DejaVuSans.ttf"));
  ASSERT_EQ(faceCount(file), 5000);
  EXPECT_TRUE(scan());
  EXPECT_EQ(static_cast<std::int64_t>(cache.rowsOf(file).size()), Orb::kMaxFacesPerFile);
}

TEST_F(FolderScan, NothingToDoForMissingFolderOrTable) {
  EXPECT_TRUE(Orb::InitTextRendererFaceCache(nullptr, &kListCallbacks, &cache));
  EXPECT_TRUE(Orb::InitTextRendererFaceCache(fonts.entry().c_str(), nullptr, &cache));
  EXPECT_TRUE(Orb::InitTextRendererFaceCache((fonts.entry() + "missing/").c_str(), &kListCallbacks, &cache));
  EXPECT_TRUE(cache.rows.empty());
}

}  // namespace
