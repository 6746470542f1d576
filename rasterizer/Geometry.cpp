#include "rasterizer/Geometry.h"

#include <algorithm>
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

Placement placementFor(std::int64_t frameWidth, std::int64_t frameHeight, std::uint32_t boxWidth,
                       std::uint32_t boxHeight) {
  if (boxWidth == 0 || boxHeight == 0 || frameWidth <= 0 || frameHeight <= 0) return {};
  const std::int64_t left = frameWidth / 2 - static_cast<std::int64_t>(boxWidth / 2);
  const double width = static_cast<double>(frameWidth);
  Placement placement;
  placement.left = static_cast<double>(left) / width;
  placement.right = static_cast<double>(left + boxWidth) / width;
  placement.top = kSubtitleBaseline - static_cast<double>(boxHeight) / static_cast<double>(frameHeight);
  placement.bottom = kSubtitleBaseline;
  return placement;
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
