#pragma once
// What a markup reader makes of a subtitle: the text without its markup, cut into runs of
// one style each, and the fonts those styles ask for. Plain data, handed from the markup
// reader to face resolution and on to layout; nothing in it is opened or looked up yet.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Orb {

/// Four bytes in memory order red, green, blue and one that drawing ignores.
struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t unused = 0;

  /// The colour whose memory bytes are those of `value` (as the owner hands colours over).
  static Colour fromMemory(std::uint32_t value);
  bool operator==(const Colour& other) const;
};

/// A font a style asks for. Request 0 is the renderer's base font, resolved already; every
/// other one is derived from an earlier request, its parent: it takes the parent's font
/// source (family, file or bytes) with its own family when it names one, and its own style
/// flags. A request whose face cannot be had draws with its parent's font instead.
struct FontRequest {
  std::size_t parent = 0;
  std::optional<std::string> family;
  std::uint8_t bold = 0;
  std::uint8_t italic = 0;
};

/// How a run of text is drawn.
struct TextStyle {
  std::size_t font = 0;  ///< index into StyledText::fonts
  std::int32_t size = 0;  ///< pixel height given to FreeType; also the unit of line spacing
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  Colour fill;
  Colour outline;

  bool operator==(const TextStyle& other) const;
  bool operator!=(const TextStyle& other) const { return !(*this == other); }
};

/// Code points [begin, end) of the text, in one style.
struct StyledRun {
  std::size_t begin = 0;
  std::size_t end = 0;
  TextStyle style;
};

struct StyledText {
  std::u32string text;             ///< without markup; U+000A breaks a line
  std::vector<StyledRun> runs;     ///< cover `text` in order, without gaps or empty runs
  std::vector<FontRequest> fonts;  ///< [0] is the base font
  std::optional<int> alignment;    ///< the subtitle's own placement (1..9, as on a keypad)
};

/// Absolute sizes in the full engine's markup are pixels on a frame of this many lines.
constexpr std::uint32_t kMarkupReferenceLines = 1080;

/// Where markup starts from: the renderer's base style (its font is request 0) and whether
/// markup may change colours and fonts.
struct MarkupBase {
  TextStyle style;
  bool overrideEmbeddedFont = false;    ///< markup "face" and "size" are ignored
  bool overrideEmbeddedColour = false;  ///< markup "color" is ignored
  /// The base font's own bold and italic, which the full engine's markup adds to.
  bool bold = false;
  bool italic = false;
  /// The height of the frame absolute sizes are scaled to (full engine).
  std::uint32_t frameHeight = kMarkupReferenceLines;
};

}  // namespace Orb
