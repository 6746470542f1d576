#pragma once
// An image as the tool's outputs use it: rows of straight (not premultiplied) RGBA
// pixels, four bytes each, red first, packed with no padding.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace QuillRender {

struct RgbaImage {
  RgbaImage() = default;
  RgbaImage(int imageWidth, int imageHeight)
      : width(imageWidth),
        height(imageHeight),
        pixels(static_cast<std::size_t>(imageWidth) * static_cast<std::size_t>(imageHeight) * 4) {}

  /// The four bytes of pixel (x, y); the caller keeps x and y inside the image.
  std::uint8_t* at(int x, int y) {
    return pixels.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                            static_cast<std::size_t>(x)) * 4;
  }
  const std::uint8_t* at(int x, int y) const { return const_cast<RgbaImage*>(this)->at(x, y); }

  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

}  // namespace QuillRender
