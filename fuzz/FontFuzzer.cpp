// Font bytes, as a font file attached to the media arrives, through
// createTextRendererFromMemory and one render of a subtitle that reaches every glyph path:
// plain, italic and bold clones of the record, underline and strike-out spans, a larger
// size, a line break and characters the font may lack. Bytes that hold no usable face
// must give no renderer; anything else must render without a fault.
#include <cstdint>
#include <string>

#include "fuzz/CheckedRender.h"
#include "text/TextRendererInterface.h"

namespace {

constexpr std::int32_t kPixelSize = 12;
constexpr std::uint32_t kMaxWidth = 96;
constexpr std::uint32_t kMaxHeight = 48;

const std::string kSubtitle =
    "Ab<i>c</i> \xC3\xA9\n<b><u>A</u></b><s>1</s><font size=\"+4\">g</font>\xE4\xBD\xA0";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto renderer = Orb::createTextRendererFromMemory(
      data, size, nullptr, kPixelSize, 0, 0, 0, 0, 0, 0x00FFFFFF, 0x00000000, 0, nullptr);
  if (renderer == nullptr) return 0;
  // The byte order is the compositor's business, covered by the subtitle target; one that
  // depends on the input spreads the work over all four.
  QuillFuzz::renderChecked(*renderer, static_cast<std::uint32_t>(size % 4), kSubtitle,
                           kMaxWidth, kMaxHeight);
  return 0;
}
