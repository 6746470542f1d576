#include "text/GreyBitmap.h"

#include FT_BITMAP_H

namespace Orb {

namespace {

// Releases a bitmap that FreeType allocated.
struct ConvertedBitmap {
  explicit ConvertedBitmap(FT_Library owner) : library(owner) { FT_Bitmap_Init(&bitmap); }
  ~ConvertedBitmap() { FT_Bitmap_Done(library, &bitmap); }
  ConvertedBitmap(const ConvertedBitmap&) = delete;
  ConvertedBitmap& operator=(const ConvertedBitmap&) = delete;
  FT_Library library;
  FT_Bitmap bitmap;
};

}  // namespace

bool GreyBitmap::convert(FT_Library library, const FT_Bitmap& source) {
  pixels.clear();
  columns = rows = 0;
  mono = source.pixel_mode == FT_PIXEL_MODE_MONO;
  if (source.width == 0 || source.rows == 0) return true;
  if (source.buffer == nullptr) return false;
  // FT_Bitmap_Convert reads every mode with its own pitch and flow and writes one byte per
  // pixel, top row first, with levels 0 .. num_grays - 1.
  ConvertedBitmap converted(library);
  if (FT_Bitmap_Convert(library, &source, &converted.bitmap, 1) != 0) return false;
  const FT_Bitmap& grey = converted.bitmap;
  if (grey.pixel_mode != FT_PIXEL_MODE_GRAY || grey.buffer == nullptr || grey.num_grays < 2) {
    return false;
  }
  columns = grey.width;
  rows = grey.rows;
  const unsigned maxLevel = static_cast<unsigned>(grey.num_grays) - 1;
  const std::size_t pitch = static_cast<std::size_t>(grey.pitch < 0 ? -grey.pitch : grey.pitch);
  if (pitch < columns) return false;
  pixels.resize(static_cast<std::size_t>(columns) * rows);
  for (std::uint32_t r = 0; r < rows; ++r) {
    // With a negative pitch the bottom row comes first in memory.
    const std::size_t memoryRow = grey.pitch < 0 ? rows - 1 - r : r;
    const unsigned char* in = grey.buffer + memoryRow * pitch;
    std::uint8_t* out = &pixels[static_cast<std::size_t>(r) * columns];
    for (std::uint32_t c = 0; c < columns; ++c) {
      const unsigned level = in[c] > maxLevel ? maxLevel : in[c];
      out[c] = static_cast<std::uint8_t>(maxLevel == 255 ? level : level * 255 / maxLevel);
    }
  }
  return true;
}

}  // namespace Orb
