#pragma once
// Arithmetic that places subtitles on the video frame: the area the text is laid out in,
// where the drawn box goes, the font size a frame calls for and how a downstream limit
// shrinks the frame. Sizes are 64-bit signed so that no frame the host can describe
// overflows or wraps; a size of 0 or less stands for a frame with nothing in it.
#include <cstdint>

namespace Orb {

/// The largest box the renderer may lay a subtitle out in.
struct TextArea {
  std::uint32_t maxWidth = 0;
  std::uint32_t maxHeight = 0;
};

/// A box in normalised frame coordinates: 0 to 1 across the frame, top at 0.
struct Placement {
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;
};

/// A box of buffer pixels, right and bottom exclusive.
struct PixelBox {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;

  std::int64_t width() const { return right - left; }
  std::int64_t height() const { return bottom - top; }
};

/// Fraction of the frame height at which the bottom edge of a subtitle sits.
constexpr double kSubtitleBaseline = 0.95;
/// Fraction of the frame height at which the top edge of a top-aligned subtitle sits, and
/// of its width kept free beside a left- or right-aligned one.
constexpr double kSubtitleMargin = 0.05;

/// Pixels from `first` to `last`, both included; 0 or less when `last` comes before.
constexpr std::int64_t inclusiveSpan(std::int32_t first, std::int32_t last) {
  return static_cast<std::int64_t>(last) - first + 1;
}

/// 90 % of the frame width by 20 % of its height, truncated; 0 for an empty dimension.
TextArea textAreaFor(std::int64_t frameWidth, std::int64_t frameHeight);

/// The area the full layout may use: lines as wide as the classic text area, and as
/// many of them as the frame holds.
TextArea fullTextAreaFor(std::int64_t frameWidth, std::int64_t frameHeight);

/// Where `region` (the drawn pixels of the renderer's buffer) goes on the frame when
/// `anchor` (a box in the same pixels) is placed as `alignment` says, 1..9 as on a numeric
/// keypad: bottom rows with the anchor's bottom edge on the baseline, top rows with its top
/// edge at the top margin, the middle row centred; the left and right columns at the side
/// margins, the middle column centred (whole pixels, halves to the left). The region keeps
/// its place relative to the anchor; one wider than the frame gets a negative left edge
/// rather than a wrapped one. An empty region, or a frame with nothing in it, is placed at
/// all zeros (a rectangle of no size at the origin), which a host cannot mistake for a
/// drawn subtitle.
Placement placementFor(std::int64_t frameWidth, std::int64_t frameHeight, const PixelBox& region,
                       const PixelBox& anchor, std::uint32_t alignment);

/// Where `box` (buffer pixels, like `region`) lies on the frame once `region` is placed at
/// `placement`, in frame pixels.
PixelBox onFrame(const Placement& placement, std::int64_t frameWidth, std::int64_t frameHeight,
                 const PixelBox& region, const PixelBox& box);

/// Pixel size of the base font for a frame: the smaller of height / 22 and width / 29,
/// and never less than 1 so that even a tiny frame asks the font for a real size.
std::uint32_t fontSizeFor(std::int64_t frameWidth, std::int64_t frameHeight);

/// Applies a downstream's answer to a size query to one frame dimension whose far edge
/// is `edge` (inclusive) and whose size is `size`: an answer that came back positive and
/// smaller than the size becomes the new size (edge = answer - 1). Answers true when the
/// edge changed; an unanswered query or an answer of 0 or less keeps the frame.
bool limitFrameEdge(std::int32_t& edge, std::int64_t size, bool answered, std::int32_t answer);

}  // namespace Orb
