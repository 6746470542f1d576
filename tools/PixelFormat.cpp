#include "tools/PixelFormat.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "framework/FormatCodes.h"

namespace QuillRender {
namespace {

// Byte offsets of red, green, blue and alpha within one pixel, per format.
struct ChannelOffsets {
  int red, green, blue, alpha;
};
constexpr ChannelOffsets kOffsets[] = {{0, 1, 2, 3}, {1, 2, 3, 0}, {2, 1, 0, 3}, {3, 2, 1, 0}};

// straight[alpha][channel]: a premultiplied channel divided back out by its alpha,
// rounded, for every pair; looked up rather than divided, since a division per channel was
// most of the time of turning an image around.
using StraightTable = std::array<std::array<std::uint8_t, 256>, 256>;

const StraightTable& straightTable() {
  static const StraightTable table = [] {
    StraightTable values{};
    for (unsigned alpha = 1; alpha < 256; ++alpha) {
      for (unsigned channel = 0; channel < 256; ++channel) {
        values[alpha][channel] =
            static_cast<std::uint8_t>(std::min((channel * 255u + alpha / 2u) / alpha, 255u));
      }
    }
    return values;
  }();
  return table;
}

}  // namespace

const char* pixelFormatName(PixelFormat format) {
  return Orb::PIXEL_FORMAT_NAMES[static_cast<std::uint32_t>(format)];
}

std::optional<PixelFormat> parsePixelFormat(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (std::uint32_t i = 0; i < Orb::PIXEL_FORMAT_COUNT; ++i) {
    if (upper == Orb::PIXEL_FORMAT_NAMES[i]) return static_cast<PixelFormat>(i);
  }
  return std::nullopt;
}

PixelRegion clipToBlock(std::size_t blockBytes, int stridePixels, PixelRegion region) {
  if (stridePixels <= 0) return PixelRegion();
  const std::size_t rowBytes = static_cast<std::size_t>(stridePixels) * 4;
  const long long rows = static_cast<long long>(blockBytes / rowBytes);
  const long long left = std::max(0, region.left);
  const long long top = std::max(0, region.top);
  const long long right =
      std::min<long long>(static_cast<long long>(region.left) + region.width, stridePixels);
  const long long bottom = std::min<long long>(static_cast<long long>(region.top) + region.height, rows);
  if (right <= left || bottom <= top) return PixelRegion();
  return PixelRegion{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                     static_cast<int>(bottom - top)};
}

RgbaImage toStraightRgba(const std::uint8_t* block, std::size_t blockBytes, int stridePixels,
                         PixelFormat format, PixelRegion region) {
  const PixelRegion clipped = clipToBlock(blockBytes, stridePixels, region);
  if (!block || clipped.width == 0) return RgbaImage();
  const std::size_t rowBytes = static_cast<std::size_t>(stridePixels) * 4;
  const std::size_t left = static_cast<std::size_t>(clipped.left);
  const std::size_t top = static_cast<std::size_t>(clipped.top);

  RgbaImage image(clipped.width, clipped.height);
  const ChannelOffsets& offsets = kOffsets[static_cast<std::uint32_t>(format)];
  const StraightTable& straight = straightTable();
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* source = block + (top + static_cast<std::size_t>(y)) * rowBytes + left * 4;
    std::uint8_t* target = image.at(0, y);
    for (int x = 0; x < image.width; ++x, source += 4, target += 4) {
      const std::uint8_t alpha = source[offsets.alpha];
      if (alpha == 0) continue;  // already transparent black
      const std::array<std::uint8_t, 256>& divided = straight[alpha];
      target[0] = divided[source[offsets.red]];
      target[1] = divided[source[offsets.green]];
      target[2] = divided[source[offsets.blue]];
      target[3] = alpha;
    }
  }
  return image;
}

}  // namespace QuillRender
