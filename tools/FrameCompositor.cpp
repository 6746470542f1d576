#include "tools/FrameCompositor.h"

#include <algorithm>

namespace QuillRender {

RgbaImage neutralBackground(int width, int height) {
  RgbaImage frame(width, height);
  for (std::size_t i = 0; i < frame.pixels.size(); i += 4) {
    frame.pixels[i] = frame.pixels[i + 1] = frame.pixels[i + 2] = kNeutralGrey;
    frame.pixels[i + 3] = 255;
  }
  return frame;
}

RgbaImage fitBackground(const RgbaImage& image, int width, int height) {
  if (image.width <= 0 || image.height <= 0) return neutralBackground(width, height);
  RgbaImage frame(width, height);
  for (int y = 0; y < height; ++y) {
    const int sourceY = static_cast<int>(static_cast<long long>(y) * image.height / height);
    for (int x = 0; x < width; ++x) {
      const int sourceX = static_cast<int>(static_cast<long long>(x) * image.width / width);
      std::copy_n(image.at(sourceX, sourceY), 4, frame.at(x, y));
    }
  }
  return frame;
}

bool cutToFrame(RgbaImage& image, int& x, int& y, int frameWidth, int frameHeight) {
  const long long left = std::max(0, x), top = std::max(0, y);
  const long long right = std::min<long long>(frameWidth, static_cast<long long>(x) + image.width);
  const long long bottom = std::min<long long>(frameHeight, static_cast<long long>(y) + image.height);
  if (right <= left || bottom <= top) return false;
  if (left == x && top == y && right - left == image.width && bottom - top == image.height) return true;
  RgbaImage part(static_cast<int>(right - left), static_cast<int>(bottom - top));
  for (int row = 0; row < part.height; ++row) {
    std::copy_n(image.at(static_cast<int>(left - x), static_cast<int>(top - y) + row),
                static_cast<std::size_t>(part.width) * 4, part.at(0, row));
  }
  image = std::move(part);
  x = static_cast<int>(left);
  y = static_cast<int>(top);
  return true;
}

void compositeOver(RgbaImage& frame, const RgbaImage& subtitle, int x, int y) {
  const int firstColumn = std::max(0, -x);
  const int firstRow = std::max(0, -y);
  const int lastColumn = std::min(subtitle.width, frame.width - x);
  const int lastRow = std::min(subtitle.height, frame.height - y);
  for (int row = firstRow; row < lastRow; ++row) {
    for (int column = firstColumn; column < lastColumn; ++column) {
      const std::uint8_t* source = subtitle.at(column, row);
      std::uint8_t* target = frame.at(x + column, y + row);
      const unsigned alpha = source[3];
      const unsigned behind = (255u - alpha) * target[3] / 255u;  // what shows through
      const unsigned outAlpha = alpha + behind;
      if (outAlpha == 0) continue;
      for (int channel = 0; channel < 3; ++channel) {
        target[channel] = static_cast<std::uint8_t>(
            (source[channel] * alpha + target[channel] * behind + outAlpha / 2) / outAlpha);
      }
      target[3] = static_cast<std::uint8_t>(outAlpha);
    }
  }
}

}  // namespace QuillRender
