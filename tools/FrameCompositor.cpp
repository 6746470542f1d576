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
