// The classic engine's output must stay byte for byte what it was: every render of the
// render corpus, the reference subtitles, every file of the fuzz corpora and the
// real-world subtitle files, at several sizes and in every byte order, is reduced to its
// box and a digest of the whole buffer and compared with tests/text/golden/. The golden
// files were made by this test from the release before the text engine was restructured;
// QUILL_UPDATE_GOLDEN=1 rewrites them, which is only ever right when the classic output is
// meant to change (or for a new FreeType or font package, named in each file's header).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include "tests/text/RenderCorpus.h"
#include "tests/text/TestFonts.h"
#include "text/TextRendererInterface.h"

namespace {

namespace fs = std::filesystem;

using Digests = std::map<std::string, std::string>;  // key -> "rendered box digest"

// A 64-bit digest of every byte, word by word so that a debug build stays quick.
std::uint64_t digestOf(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t hash = 0xCBF29CE484222325ull ^ bytes.size();
  std::size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, &bytes[at], 8);
    hash = (hash ^ word) * 0x100000001B3ull;
    hash ^= hash >> 29;
  }
  for (; at < bytes.size(); ++at) hash = (hash ^ bytes[at]) * 0x100000001B3ull;
  return hash;
}

std::string describe(const RenderCorpus::RenderOutput& out) {
  char text[96];
  std::snprintf(text, sizeof text, "%d %u %u %u %u %016llx", out.rendered ? 1 : 0, out.xOffset,
                out.yOffset, out.width, out.height,
                static_cast<unsigned long long>(digestOf(out.bytes)));
  return text;
}

// What the output depends on besides the code: FreeType's rasteriser and the font files.
std::string environment() {
  FT_Library library = nullptr;
  FT_Int major = 0, minor = 0, patch = 0;
  if (FT_Init_FreeType(&library) == 0) {
    FT_Library_Version(library, &major, &minor, &patch);
    FT_Done_FreeType(library);
  }
  std::ostringstream out;
  out << "# freetype " << major << '.' << minor << '.' << patch << '\n';
  for (const std::string& font : {TestFonts::kSans, TestFonts::kSansBold, TestFonts::kSerif,
                                  TestFonts::kCollection}) {
    std::error_code error;
    out << "# font " << font << ' ' << fs::file_size(font, error) << '\n';
  }
  return out.str();
}

std::string goldenPath(const std::string& set) {
  return std::string(QUILL_TEXT_GOLDEN_DIR) + "/classic-" + set + ".txt";
}

bool readGolden(const std::string& path, std::string& header, Digests& digests) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("# ", 0) == 0) {
      header += line + '\n';
      continue;
    }
    const std::size_t tab = line.find('\t');
    if (tab != std::string::npos) digests[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return true;
}

void writeGolden(const std::string& path, const Digests& digests) {
  std::ofstream out(path);
  out << environment();
  for (const auto& [key, value] : digests) out << key << '\t' << value << '\n';
  ASSERT_TRUE(out.good()) << path;
}

// Compares the digests of one set with its golden file, or rewrites the file on request.
void checkAgainstGolden(const std::string& set, const Digests& digests) {
  ASSERT_FALSE(digests.empty()) << set;
  const std::string path = goldenPath(set);
  const char* update = std::getenv("QUILL_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    writeGolden(path, digests);
    return;
  }
  std::string header;
  Digests golden;
  ASSERT_TRUE(readGolden(path, header, golden)) << path;
  if (header != environment()) {
    GTEST_SKIP() << path << " was made with another FreeType or other font files:\n"
                 << header << "this machine has:\n" << environment();
  }
  std::size_t compared = 0, differing = 0;
  for (const auto& [key, value] : digests) {
    const auto expected = golden.find(key);
    if (expected == golden.end()) continue;  // an input added since: nothing to hold it to
    ++compared;
    if (expected->second != value && ++differing <= 20) {
      ADD_FAILURE() << set << ": " << key << "\n  golden " << expected->second << "\n  now    "
                    << value;
    }
  }
  EXPECT_EQ(differing, 0u) << set << ": renders differing from the previous release";
  // Inputs may come and go (real-world files live outside the project), but most of the
  // golden file must still be exercised, or the guard guards nothing.
  EXPECT_GE(compared * 10, golden.size() * 9) << set << ": only " << compared << " of "
                                              << golden.size() << " golden renders were made";
}

std::string readText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<fs::path> filesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Renderer settings the files of a corpus are drawn with; one renderer per setting draws
// all of them in name order, as a component keeps one renderer for a whole film.
struct Setting {
  const char* name;
  std::int32_t pixelSize;
  std::uint32_t maxWidth;
  std::uint32_t maxHeight;
};
constexpr Setting kSmall{"small", 10, 120, 40};  // the subtitle fuzz target's own
constexpr Setting k720p{"720p", 32, 1152, 144};
constexpr Setting k1080p{"1080p", 49, 1728, 216};

std::unique_ptr<Orb::TextRendererInterface> sansRenderer(std::int32_t size) {
  return Orb::createTextRendererFromFile(TestFonts::kSans.c_str(), nullptr, size, 0, 0, 0, 0, 0,
                                         0x0010E0FF, 0x00804020, 0, RenderCorpus::dejaVuLookup());
}

// Every file of `folder` as one subtitle, in each setting; the byte order changes from
// file to file so that all four are drawn.
void digestFiles(const std::string& set, const fs::path& folder,
                 const std::vector<Setting>& settings, Digests& digests) {
  const std::vector<fs::path> files = filesIn(folder);
  for (const Setting& setting : settings) {
    auto renderer = sansRenderer(setting.pixelSize);
    ASSERT_NE(renderer, nullptr);
    for (std::size_t i = 0; i < files.size(); ++i) {
      const RenderCorpus::RenderCase render(readText(files[i]), static_cast<std::uint32_t>(i % 4),
                                            setting.maxWidth, setting.maxHeight);
      digests[set + "/" + setting.name + "/" + files[i].filename().string()] =
          describe(RenderCorpus::render(*renderer, render));
    }
  }
}

const fs::path kFuzzCorpus = QUILL_FUZZ_CORPUS_DIR;

TEST(ClassicIdentity, RenderCorpus) {
  Digests digests;
  const std::vector<RenderCorpus::RenderCase> cases = RenderCorpus::cases();
  for (const RenderCorpus::RendererSetup& setup : RenderCorpus::renderers()) {
    auto renderer = setup.create();
    ASSERT_NE(renderer, nullptr) << setup.name;
    for (std::size_t i = 0; i < cases.size(); ++i) {
      digests[setup.name + "/" + std::to_string(i)] =
          describe(RenderCorpus::render(*renderer, cases[i]));
    }
  }
  checkAgainstGolden("corpus", digests);
}

TEST(ClassicIdentity, ReferenceSubtitlesInEveryByteOrder) {
  const std::map<std::string, std::string> subtitles = {
      {"two-lines", "I never said that.\nNot to you, anyway."},
      {"markup",
       "<b>Bold</b>, <i>italic</i>, <u>under</u> and <s>struck</s>\n<font color=\"#ff4020\">red"
       "</font> <font size=\"+4\">big</font> <font size=\"-4\">small</font>"},
      {"wrapping",
       "This subtitle is long enough that it cannot fit on one line of the text area, so the "
       "pen walk has to wrap it without looking for word boundaries."}};
  Digests digests;
  for (const Setting& setting : {kSmall, k720p, k1080p}) {
    auto renderer = sansRenderer(setting.pixelSize);
    ASSERT_NE(renderer, nullptr);
    for (const auto& [name, text] : subtitles) {
      for (std::uint32_t format = 0; format < 5; ++format) {
        const RenderCorpus::RenderCase render(text, format, setting.maxWidth, setting.maxHeight);
        digests[name + "/" + setting.name + "/" + std::to_string(format)] =
            describe(RenderCorpus::render(*renderer, render));
      }
    }
  }
  checkAgainstGolden("reference", digests);
}

TEST(ClassicIdentity, SubtitleFuzzCorpus) {
  Digests digests;
  digestFiles("subtitle", kFuzzCorpus / "subtitle", {kSmall, k720p, k1080p}, digests);
  checkAgainstGolden("fuzz-subtitle", digests);
}

TEST(ClassicIdentity, TextFuzzCorpora) {
  Digests digests;
  digestFiles("utf", kFuzzCorpus / "utf", {kSmall, k720p}, digests);
  digestFiles("font_name", kFuzzCorpus / "font_name", {kSmall}, digests);
  checkAgainstGolden("fuzz-text", digests);
}

TEST(ClassicIdentity, SubtitleFiles) {
  Digests digests;
  digestFiles("srt", kFuzzCorpus / "srt", {kSmall, k720p, k1080p}, digests);
  if (std::string(QUILL_TESTDATA_DIR).empty()) {
    std::printf("real-world subtitle files not found; only the fuzz corpus is compared\n");
  } else {
    digestFiles("testdata", fs::path(QUILL_TESTDATA_DIR) / "srt", {kSmall, k720p, k1080p},
                digests);
  }
  checkAgainstGolden("subtitle-files", digests);
}

// Damaged and hostile font files, each made into a renderer from memory and asked for a
// subtitle that reaches every glyph path, as the font fuzz target does.
TEST(ClassicIdentity, FontFuzzCorpus) {
  const std::string subtitle =
      "Ab<i>c</i> \xC3\xA9\n<b><u>A</u></b><s>1</s><font size=\"+4\">g</font>\xE4\xBD\xA0";
  Digests digests;
  for (const fs::path& file : filesIn(kFuzzCorpus / "font")) {
    const std::vector<unsigned char> bytes = TestFonts::readFile(file.string());
    auto renderer = Orb::createTextRendererFromMemory(bytes.data(), bytes.size(), nullptr, 12, 0,
                                                      0, 0, 0, 0, 0x00FFFFFF, 0, 0, nullptr);
    std::string& digest = digests["font/" + file.filename().string()];
    if (renderer == nullptr) {
      digest = "no renderer";
      continue;
    }
    const RenderCorpus::RenderCase render(subtitle, static_cast<std::uint32_t>(bytes.size() % 4),
                                          96, 48);
    digest = describe(RenderCorpus::render(*renderer, render));
  }
  checkAgainstGolden("fuzz-font", digests);
}

}  // namespace
