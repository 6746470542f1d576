#include "tools/PixelFormat.h"

#include <algorithm>
#include <cctype>

namespace QuillRender {
namespace {

constexpr const char* kNames[] = {"RGBA", "ARGB", "BGRA", "ABGR"};

// Byte offsets of red, green, blue and alpha within one pixel, per format.
struct ChannelOffsets {
  int red, green, blue, alpha;
};
constexpr ChannelOffsets kOffsets[] = {{0, 1, 2, 3}, {1, 2, 3, 0}, {2, 1, 0, 3}, {3, 2, 1, 0}};

std::uint8_t unpremultiply(std::uint8_t channel, std::uint8_t alpha) {
  const unsigned straight = (channel * 255u + alpha / 2u) / alpha;
  return static_cast<std::uint8_t>(std::min(straight, 255u));
}

}  // namespace

const char* pixelFormatName(PixelFormat format) {
  return kNames[static_cast<std::uint32_t>(format)];
}

std::optional<PixelFormat> parsePixelFormat(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (std::uint32_t i = 0; i < 4; ++i) {
    if (upper == kNames[i]) return static_cast<PixelFormat>(i);
  }
  return std::nullopt;
}

RgbaImage toStraightRgba(const std::uint8_t* block, std::size_t blockBytes, int stridePixels,
                         PixelFormat format, PixelRegion region) {
  if (!block || stridePixels <= 0) return RgbaImage();
  const std::size_t rowBytes = static_cast<std::size_t>(stridePixels) * 4;
  const long long rows = static_cast<long long>(blockBytes / rowBytes);
  const long long left = std::max(0, region.left);
  const long long top = std::max(0, region.top);
  const long long right =
      std::min<long long>(static_cast<long long>(region.left) + region.width, stridePixels);
  const long long bottom = std::min<long long>(static_cast<long long>(region.top) + region.height, rows);
  if (right <= left || bottom <= top) return RgbaImage();

  RgbaImage image(static_cast<int>(right - left), static_cast<int>(bottom - top));
  const ChannelOffsets& offsets = kOffsets[static_cast<std::uint32_t>(format)];
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* source = block + static_cast<std::size_t>(top + y) * rowBytes +
                                 static_cast<std::size_t>(left) * 4;
    for (int x = 0; x < image.width; ++x, source += 4) {
      std::uint8_t* target = image.at(x, y);
      const std::uint8_t alpha = source[offsets.alpha];
      if (alpha == 0) continue;  // already transparent black
      target[0] = unpremultiply(source[offsets.red], alpha);
      target[1] = unpremultiply(source[offsets.green], alpha);
      target[2] = unpremultiply(source[offsets.blue], alpha);
      target[3] = alpha;
    }
  }
  return image;
}

}  // namespace QuillRender
