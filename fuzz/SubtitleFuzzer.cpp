// Subtitle bytes through renderSubtitle: markup, face resolution with lookups, glyph
// building, both layouts and compositing. One long-lived renderer per engine (as the
// component keeps one) draws each input in several byte orders; the canvases must hold the
// same pixels with the channels moved, and the same box, or a byte order or state carried
// over from an earlier render is wrong. The full layout's canvas and lines must also lie
// within the limits it was given.
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/CheckedRender.h"
#include "fuzz/FuzzCheck.h"
#include "text/TextRendererInterface.h"

namespace {

const std::string kFontDir = "/usr/share/fonts/truetype/dejavu/";

// A small size keeps a run fast; the area is a few words wide and three lines high so
// that wrapping and the bottom limit are reached.
constexpr std::int32_t kPixelSize = 10;
constexpr std::uint32_t kMaxWidth = 120;
constexpr std::uint32_t kMaxHeight = 40;

// Distinct channel values, so that a channel written to the wrong place shows.
constexpr std::uint32_t kFill = 0x0010E0FF;     // memory order FF E0 10
constexpr std::uint32_t kOutline = 0x00804020;  // memory order 20 40 80

// The lookup markup reaches through <b>, <i> and face=: two families with every style,
// one with the upright face only (so the lookup relaxes the style), one whose file is
// missing, and nothing else.
const char* dejaVuFile(const std::string& family, bool bold, bool italic) {
  if (family == "DejaVu Sans") {
    if (bold) return italic ? "DejaVuSans-BoldOblique.ttf" : "DejaVuSans-Bold.ttf";
    return italic ? "DejaVuSans-Oblique.ttf" : "DejaVuSans.ttf";
  }
  if (family == "DejaVu Serif") {
    if (bold) return italic ? "DejaVuSerif-BoldItalic.ttf" : "DejaVuSerif-Bold.ttf";
    return italic ? "DejaVuSerif-Italic.ttf" : "DejaVuSerif.ttf";
  }
  if (family == "DejaVu Sans Mono") return bold || italic ? nullptr : "DejaVuSansMono.ttf";
  if (family == "Gone") return "no-such-font.ttf";
  return nullptr;
}

class DejaVuLookup final : public Orb::FaceLookup {
 public:
  bool findFace(const std::string& family, bool bold, bool italic,
                Orb::FaceLocation& location) override {
    const char* file = dejaVuFile(family, bold, italic);
    if (file == nullptr) return false;
    location.path = kFontDir + file;
    location.faceIndex = 0;
    return true;
  }
};

std::unique_ptr<Orb::TextRendererInterface> makeRenderer(Orb::LayoutEngine engine) {
  static DejaVuLookup lookup;
  auto made = Orb::createTextRendererFromFile((kFontDir + "DejaVuSans.ttf").c_str(), nullptr,
                                              kPixelSize, 0, 0, 0, 0, 0, kFill, kOutline, 0,
                                              &lookup);
  QuillFuzz::require(made != nullptr, "DejaVu Sans opens");
  made->setLayout(engine, Orb::kBottomCentre);
  return made;
}

Orb::TextRendererInterface& classic() {
  static const auto instance = makeRenderer(Orb::LayoutEngine::Classic);
  return *instance;
}

Orb::TextRendererInterface& full() {
  static const auto instance = makeRenderer(Orb::LayoutEngine::Full);
  return *instance;
}

// Where red, green, blue and alpha sit in a pixel of each format code.
constexpr int kChannelAt[4][4] = {{0, 1, 2, 3}, {1, 2, 3, 0}, {2, 1, 0, 3}, {3, 2, 1, 0}};

void requireSameDrawing(const QuillFuzz::CheckedRender& rgba,
                        const QuillFuzz::CheckedRender& other, std::uint32_t format) {
  QuillFuzz::require(other.rendered == rgba.rendered, "every byte order renders alike");
  if (!rgba.rendered) return;
  QuillFuzz::require(other.width == rgba.width && other.height == rgba.height &&
                         other.xOffset == rgba.xOffset && other.yOffset == rgba.yOffset,
                     "every byte order reports the same box");
  QuillFuzz::require(other.pixels.size() == rgba.pixels.size(), "same canvas in every order");
  for (std::size_t at = 0; at < rgba.pixels.size(); at += 4) {
    for (int channel = 0; channel < 4; ++channel) {
      QuillFuzz::require(other.pixels[at + kChannelAt[format][channel]] ==
                             rgba.pixels[at + kChannelAt[0][channel]],
                         "every byte order holds the same pixels");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto rgba = QuillFuzz::renderChecked(classic(), 0, text, kMaxWidth, kMaxHeight);
  for (std::uint32_t format = 1; format < 4; ++format) {
    requireSameDrawing(rgba, QuillFuzz::renderChecked(classic(), format, text, kMaxWidth, kMaxHeight),
                       format);
  }
  // The full layout in two byte orders: one reversed, so that a channel in the wrong
  // place shows.
  const auto fullRgba = QuillFuzz::renderChecked(full(), 0, text, kMaxWidth, kMaxHeight);
  QuillFuzz::requireFullLayoutInsideItsCanvas(fullRgba, full().lastLayout(), kMaxWidth, kMaxHeight);
  requireSameDrawing(fullRgba, QuillFuzz::renderChecked(full(), 3, text, kMaxWidth, kMaxHeight), 3);
  return 0;
}
