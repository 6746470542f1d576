#include "tools/FontFileCheck.h"

#include <memory>
#include <optional>

namespace QuillRender {
namespace {

// Letters whose shapes and widths differ from face to face.
constexpr const char* kProbeText = "Quill 0123 AaBbGgJjWwMm @&?";

// Families quill-render's own fonts folder holds, looking unlike one another.
constexpr const char* kOtherFamilies[] = {"DejaVu Sans Mono", "DejaVu Serif", "DejaVu Sans",
                                          "WenQuanYi Zen Hei"};

bool sameImage(const DeliveredImage& one, const DeliveredImage& other) {
  return one.pixels.width == other.pixels.width && one.pixels.height == other.pixels.height &&
         one.pixels.pixels == other.pixels.pixels;
}

std::string familyOf(const std::string& fontValue) { return fontValue.substr(0, fontValue.find(':')); }

}  // namespace

FontFileVerdict checkFontFile(const Host::PluginModule& module, const SessionSettings& given) {
  SessionSettings settings = given;
  settings.keepPixels = true;  // the drawings are what tells
  std::string error;
  const std::unique_ptr<ComponentSession> session = ComponentSession::start(module, settings, error);
  const std::optional<DeliveredImage> drawn = session ? session->render(kProbeText) : std::nullopt;
  if (!drawn) return FontFileVerdict::Unknown;
  const std::string family = familyOf(settings.font);
  for (const char* other : kOtherFamilies) {
    if (family == other) continue;
    SessionSettings withFont = settings;
    withFont.font = std::string(other) + settings.font.substr(family.size());
    SessionSettings without = withFont;
    without.fontFile.clear();
    const std::unique_ptr<ComponentSession> second = ComponentSession::start(module, withFont, error);
    const std::unique_ptr<ComponentSession> plain = ComponentSession::start(module, without, error);
    if (!second || !plain) continue;  // the family is not to be had
    const std::optional<DeliveredImage> secondDrawn = second->render(kProbeText);
    const std::optional<DeliveredImage> plainDrawn = plain->render(kProbeText);
    if (!secondDrawn || !plainDrawn) continue;
    // A font the component takes is drawn whatever the family: a difference means the
    // family is in charge.
    if (!sameImage(*drawn, *secondDrawn)) return FontFileVerdict::Refused;
    // The same drawing both ways: the font file, unless both families look alike, or the
    // font file is the other family's own face; the other family alone tells which.
    if (!sameImage(*secondDrawn, *plainDrawn)) return FontFileVerdict::Used;
  }
  return FontFileVerdict::Unknown;
}

}  // namespace QuillRender
