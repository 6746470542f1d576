#include "tools/PngFile.h"

#include <png.h>

#include <cstring>

#include "tools/AtomicFile.h"

namespace QuillRender {
namespace {

constexpr unsigned long long kMaxPixels = 1ull << 28;

png_image describe(const RgbaImage& image) {
  png_image header;
  std::memset(&header, 0, sizeof header);
  header.version = PNG_IMAGE_VERSION;
  header.width = static_cast<png_uint_32>(image.width);
  header.height = static_cast<png_uint_32>(image.height);
  header.format = PNG_FORMAT_RGBA;
  return header;
}

}  // namespace

bool writePng(const std::string& path, const RgbaImage& image, std::string& error) {
  if (image.width <= 0 || image.height <= 0) {
    error = "cannot write " + path + ": the image is empty";
    return false;
  }
  return writeFileAtomically(
      path,
      [&](std::FILE* stream) {
        png_image header = describe(image);
        const bool ok =
            png_image_write_to_stdio(&header, stream, 0, image.pixels.data(), 0, nullptr) != 0;
        if (!ok) error = "cannot write " + path + ": " + header.message;
        png_image_free(&header);
        return ok;
      },
      error);
}

bool readPng(const std::string& path, RgbaImage& image, std::string& error) {
  png_image header;
  std::memset(&header, 0, sizeof header);
  header.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&header, path.c_str())) {
    error = "cannot read " + path + ": " + header.message;
    png_image_free(&header);
    return false;
  }
  if (static_cast<unsigned long long>(header.width) * header.height > kMaxPixels) {
    error = "cannot read " + path + ": the image is too large";
    png_image_free(&header);
    return false;
  }
  header.format = PNG_FORMAT_RGBA;
  RgbaImage read(static_cast<int>(header.width), static_cast<int>(header.height));
  if (!png_image_finish_read(&header, nullptr, read.pixels.data(), 0, nullptr)) {
    error = "cannot read " + path + ": " + header.message;
    png_image_free(&header);
    return false;
  }
  image = std::move(read);
  return true;
}

}  // namespace QuillRender
