#include "tools/CharsetDetector.h"

#include <uchardet/uchardet.h>

#include <algorithm>
#include <memory>

namespace QuillRender {
namespace {

// Bytes beyond ASCII a half of a text needs before uchardet's answer for it counts: on a
// line or two it guesses at random, and a short file is taken on its word for the whole.
constexpr std::size_t kFewestBytesToJudge = 32;

struct DetectorDeleter {
  void operator()(uchardet* detector) const { uchardet_delete(detector); }
};

// The legacy character sets of one script, most used for subtitles first.
const std::vector<std::vector<std::string>>& families() {
  static const std::vector<std::vector<std::string>> table = {
      {"WINDOWS-1252", "ISO-8859-1", "ISO-8859-15"},
      {"WINDOWS-1250", "ISO-8859-2", "IBM852", "MAC-CENTRALEUROPE"},
      {"WINDOWS-1251", "KOI8-R", "ISO-8859-5", "IBM866", "MAC-CYRILLIC"},
      {"WINDOWS-1253", "ISO-8859-7"},
      {"WINDOWS-1254", "ISO-8859-9"},
      {"WINDOWS-1255", "ISO-8859-8"},
      {"WINDOWS-1256", "ISO-8859-6"},
      {"WINDOWS-1257", "ISO-8859-13", "ISO-8859-4"},
      {"WINDOWS-1258", "VISCII"},
      {"WINDOWS-874", "TIS-620", "ISO-8859-11"},
      {"SHIFT_JIS", "EUC-JP", "ISO-2022-JP"},
      {"GB18030", "BIG5", "EUC-TW"},
      {"EUC-KR", "CP949", "ISO-2022-KR"},
  };
  return table;
}

const std::vector<std::string>* familyOf(const std::string& charset) {
  for (const std::vector<std::string>& family : families()) {
    if (std::find(family.begin(), family.end(), charset) != family.end()) return &family;
  }
  return nullptr;
}


// uchardet's answer for `bytes`, where it has one that names a legacy set.
std::string detectLegacyCharset(std::string_view bytes, bool windowsBytes) {
  const std::unique_ptr<uchardet, DetectorDeleter> detector(uchardet_new());
  if (!detector || uchardet_handle_data(detector.get(), bytes.data(), bytes.size()) != 0) return {};
  uchardet_data_end(detector.get());
  const char* answer = uchardet_get_charset(detector.get());
  const std::string name = answer ? answer : "";
  // It answers ASCII or UTF-8 when it has nothing better, even for text that is neither.
  if (name.empty() || name == "ASCII" || name.rfind("UTF-", 0) == 0) return {};
  const std::string counterpart = windowsCounterpart(name);
  return windowsBytes && !counterpart.empty() ? counterpart : name;
}

std::size_t nonAsciiBytes(std::string_view bytes) {
  return static_cast<std::size_t>(
      std::count_if(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; }));
}

bool hasWindowsOnlyBytes(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 && byte <= 0x9F;
  });
}

}  // namespace

CharsetGuess guessCharset(std::string_view bytes) {
  const bool windowsBytes = hasWindowsOnlyBytes(bytes);
  CharsetGuess guess;
  guess.charset = detectLegacyCharset(bytes, windowsBytes);
  if (guess.charset.empty()) return guess;
  // The halves are cut at a line end, so that no character is split between them.
  const std::size_t middle = bytes.find('\n', bytes.size() / 2);
  if (middle == std::string_view::npos) return guess;
  for (const std::string_view half : {bytes.substr(0, middle), bytes.substr(middle)}) {
    if (nonAsciiBytes(half) < kFewestBytesToJudge) continue;
    const std::string opinion = detectLegacyCharset(half, windowsBytes);
    if (!opinion.empty() && opinion != guess.charset &&
        std::find(guess.dissent.begin(), guess.dissent.end(), opinion) == guess.dissent.end()) {
      guess.dissent.push_back(opinion);
    }
  }
  return guess;
}

std::vector<std::string> likelyCharsets(const std::string& charset) {
  std::vector<std::string> likely = {charset};
  if (const std::vector<std::string>* family = familyOf(charset)) {
    for (const std::string& member : *family) {
      if (member != charset) likely.push_back(member);
    }
  }
  return likely;
}

std::string windowsCounterpart(const std::string& charset) {
  // Only pairs that agree on the letters of 0xA0-0xFF, or nearly: Windows-1251 and
  // ISO-8859-5, say, place the Cyrillic alphabet differently and are no such pair.
  static const std::pair<const char*, const char*> kPairs[] = {
      {"ISO-8859-1", "WINDOWS-1252"}, {"ISO-8859-15", "WINDOWS-1252"},
      {"ISO-8859-2", "WINDOWS-1250"}, {"ISO-8859-7", "WINDOWS-1253"},
      {"ISO-8859-9", "WINDOWS-1254"}, {"ISO-8859-8", "WINDOWS-1255"},
      {"ISO-8859-13", "WINDOWS-1257"}, {"TIS-620", "WINDOWS-874"},
  };
  for (const auto& [iso, windows] : kPairs) {
    if (charset == iso) return windows;
  }
  return {};
}

}  // namespace QuillRender
