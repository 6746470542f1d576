#pragma once
// What the renderer tells its owner about the last subtitle it laid out, besides the
// pixels: the box placement aligns, and the lines as laid out. Plain data.
#include <cstdint>
#include <string>
#include <vector>

namespace Orb {

/// The layout engines a renderer offers.
enum class LayoutEngine : std::uint32_t {
  Classic = 0,  ///< the pen walk: left-aligned lines, breaks anywhere, no shaping
  Full = 1,     ///< shaping, bidirectional text, word wrapping, lines aligned on their own
};

/// Placements of a subtitle as on a numeric keypad: 7 8 9 top, 4 5 6 middle, 1 2 3 bottom.
constexpr std::uint32_t kBottomCentre = 2;

/// True for 1..9.
constexpr bool isAlignment(std::uint32_t alignment) { return alignment >= 1 && alignment <= 9; }

/// A rectangle of canvas pixels, right and bottom exclusive; empty when right <= left or
/// bottom <= top.
struct TextBox {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  bool empty() const { return right <= left || bottom <= top; }
};

struct LaidOutLine {
  std::string text;  ///< UTF-8, without markup, in logical order
  TextBox ink;       ///< what the line drew, within the canvas; empty when nothing
};

struct LaidOutText {
  /// What placement aligns, in canvas pixels. The classic engine gives the drawn box; the
  /// full engine the lines' box from the fonts' metrics (its bottom is the last line's
  /// descender, so a baseline sits at the same place whatever letters it has).
  TextBox anchor;
  std::vector<LaidOutLine> lines;
  std::uint32_t alignment = kBottomCentre;  ///< what the lines were aligned by, 1..9
};

}  // namespace Orb
