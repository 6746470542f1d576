#include "rasterizer/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Orb {

namespace {

constexpr double kTextAreaWidthShare = 0.9;
constexpr double kTextAreaHeightShare = 0.2;
constexpr std::int64_t kFramePixelsPerFontLine = 22;
constexpr std::int64_t kFramePixelsPerFontColumn = 29;

std::uint32_t truncatedShare(std::int64_t size, double share) {
  if (size <= 0) return 0;
  const double scaled = static_cast<double>(size) * share;
  constexpr double kMax = std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(std::min(scaled, kMax));
}

}  // namespace

TextArea textAreaFor(std::int64_t frameWidth, std::int64_t frameHeight) {
  return {truncatedShare(frameWidth, kTextAreaWidthShare),
          truncatedShare(frameHeight, kTextAreaHeightShare)};
}

TextArea fullTextAreaFor(std::int64_t frameWidth, std::int64_t frameHeight) {
  return {truncatedShare(frameWidth, kTextAreaWidthShare), truncatedShare(frameHeight, 1.0)};
}

Placement placementFor(std::int64_t frameWidth, std::int64_t frameHeight, const PixelBox& region,
                       const PixelBox& anchor, std::uint32_t alignment) {
  if (region.width() <= 0 || region.height() <= 0 || frameWidth <= 0 || frameHeight <= 0) return {};
  if (alignment < 1 || alignment > 9) alignment = 2;
  const std::int64_t margin = static_cast<std::int64_t>(static_cast<double>(frameWidth) * kSubtitleMargin);
  std::int64_t anchorLeft = frameWidth / 2 - anchor.width() / 2;
  if (alignment % 3 == 1) anchorLeft = margin;
  if (alignment % 3 == 0) anchorLeft = frameWidth - margin - anchor.width();
  const std::int64_t left = anchorLeft + (region.left - anchor.left);
  const double width = static_cast<double>(frameWidth);
  const double height = static_cast<double>(frameHeight);
  Placement placement;
  placement.left = static_cast<double>(left) / width;
  placement.right = static_cast<double>(left + region.width()) / width;
  if (alignment <= 3) {
    placement.top = kSubtitleBaseline - static_cast<double>(anchor.bottom - region.top) / height;
    placement.bottom = kSubtitleBaseline - static_cast<double>(anchor.bottom - region.bottom) / height;
    return placement;
  }
  const double anchorTop = alignment >= 7 ? kSubtitleMargin
                                          : 0.5 - static_cast<double>(anchor.height()) / 2.0 / height;
  placement.top = anchorTop + static_cast<double>(region.top - anchor.top) / height;
  placement.bottom = anchorTop + static_cast<double>(region.bottom - anchor.top) / height;
  return placement;
}

PixelBox onFrame(const Placement& placement, std::int64_t frameWidth, std::int64_t frameHeight,
                 const PixelBox& region, const PixelBox& box) {
  const auto regionLeft = static_cast<std::int64_t>(std::lround(placement.left * static_cast<double>(frameWidth)));
  const auto regionTop = static_cast<std::int64_t>(std::lround(placement.top * static_cast<double>(frameHeight)));
  return PixelBox{regionLeft + box.left - region.left, regionTop + box.top - region.top,
                  regionLeft + box.right - region.left, regionTop + box.bottom - region.top};
}

std::uint32_t fontSizeFor(std::int64_t frameWidth, std::int64_t frameHeight) {
  const std::int64_t size =
      std::min(frameHeight / kFramePixelsPerFontLine, frameWidth / kFramePixelsPerFontColumn);
  constexpr std::int64_t kMax = std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(size, 1, kMax));
}

bool limitFrameEdge(std::int32_t& edge, std::int64_t size, bool answered, std::int32_t answer) {
  if (!answered || answer <= 0 || answer >= size) return false;
  edge = answer - 1;
  return true;
}

}  // namespace Orb
