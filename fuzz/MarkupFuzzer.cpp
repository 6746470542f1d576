// Subtitle text through the full engine's markup reader, then through the full layout with
// per-character fallback. The reader must hand back runs that cover its text in order with
// fonts that exist, within its bounds, and never more text than it was given; the override
// switches may change styles but never the text; text without markup characters comes out
// unchanged. The render must pass the checked-render invariants.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/CheckedRender.h"
#include "fuzz/FuzzCheck.h"
#include "text/ForgivingMarkup.h"
#include "text/TextRendererInterface.h"
#include "text/Utf.h"

namespace {

const std::string kFontDir = "/usr/share/fonts/truetype/";

constexpr std::int32_t kPixelSize = 10;
constexpr std::uint32_t kMaxWidth = 120;
constexpr std::uint32_t kMaxHeight = 40;

// Families for <font face>, bold and italic, and a face by character: WenQuanYi for
// ideographs and what follows them, DejaVu Serif for the rest the base font lacks.
class Lookup final : public Orb::FaceLookup {
 public:
  bool findFace(const std::string& family, bool bold, bool,
                Orb::FaceLocation& location) override {
    if (family == "DejaVu Sans") return at(bold ? "dejavu/DejaVuSans-Bold.ttf" : "dejavu/DejaVuSans.ttf", location);
    if (family == "DejaVu Serif") return at("dejavu/DejaVuSerif.ttf", location);
    if (family == "Gone") return at("no-such-font.ttf", location);
    return false;
  }

  bool findFaceWithCharacter(char32_t codePoint, bool, bool,
                             Orb::FaceLocation& location) override {
    return at(codePoint >= 0x2E80 ? "wqy/wqy-zenhei.ttc" : "dejavu/DejaVuSerif.ttf", location);
  }

 private:
  static bool at(const char* file, Orb::FaceLocation& location) {
    location.path = kFontDir + file;
    location.faceIndex = 0;
    return true;
  }
};

Orb::TextRendererInterface& full() {
  static Lookup lookup;
  static const auto instance = [] {
    auto made = Orb::createTextRendererFromFile((kFontDir + "dejavu/DejaVuSans.ttf").c_str(),
                                                nullptr, kPixelSize, 0, 0, 0, 0, 0, 0x00FFFFFF,
                                                0, 0, &lookup);
    QuillFuzz::require(made != nullptr, "DejaVu Sans opens");
    made->setLayout(Orb::LayoutEngine::Full, Orb::kBottomCentre);
    return made;
  }();
  return *instance;
}

void requireWellFormed(const Orb::StyledText& styled, std::size_t inputLength) {
  QuillFuzz::require(styled.text.size() <= inputLength, "never more text than was given");
  QuillFuzz::require(!styled.alignment || (*styled.alignment >= 1 && *styled.alignment <= 9),
                     "an alignment on the keypad");
  QuillFuzz::require(!styled.fonts.empty() &&
                         styled.fonts.size() <= 1 + Orb::ForgivingMarkupLimits::kFaceRequests,
                     "font requests within the budget");
  for (std::size_t i = 1; i < styled.fonts.size(); ++i) {
    QuillFuzz::require(styled.fonts[i].parent < i, "every request derives from an earlier one");
  }
  std::size_t at = 0;
  for (const Orb::StyledRun& run : styled.runs) {
    QuillFuzz::require(run.begin == at && run.begin < run.end, "runs cover the text in order");
    QuillFuzz::require(run.style.font < styled.fonts.size(), "runs draw with requested fonts");
    at = run.end;
  }
  QuillFuzz::require(at == styled.text.size(), "runs cover the whole text");
}

bool hasMarkupCharacters(const std::u32string& text) {
  return text.find_first_of(U"<{&\\") != std::u32string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string subtitle(reinterpret_cast<const char*>(data), size);
  std::vector<char32_t> decoded;
  if (Orb::decodeUtf8(subtitle.data(), subtitle.size(), decoded)) {
    const std::u32string text(decoded.begin(), std::find(decoded.begin(), decoded.end(), U'\0'));
    Orb::MarkupBase base;
    base.style.size = kPixelSize;
    const Orb::StyledText styled = Orb::readForgivingMarkup(text, base);
    requireWellFormed(styled, text.size());
    if (!hasMarkupCharacters(text)) QuillFuzz::require(styled.text == text, "plain text unchanged");
    base.overrideEmbeddedColour = base.overrideEmbeddedFont = true;
    base.bold = base.italic = true;
    base.frameHeight = 2160;
    QuillFuzz::require(Orb::readForgivingMarkup(text, base).text == styled.text,
                       "the base and the override switches never change the text");
  }
  const auto render = QuillFuzz::renderChecked(full(), 0, subtitle, kMaxWidth, kMaxHeight);
  QuillFuzz::requireFullLayoutInsideItsCanvas(render, full().lastLayout(), kMaxWidth, kMaxHeight);
  return 0;
}
