#include "tools/PngFile.h"

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "tools/AtomicFile.h"

namespace QuillRender {
namespace {

constexpr unsigned long long kMaxPixels = 1ull << 28;

// Where libpng's error handler leaves its message before it jumps back.
struct ErrorText {
  char text[256];
};

[[noreturn]] void onError(png_structp png, png_const_charp message) {
  auto* sink = static_cast<ErrorText*>(png_get_error_ptr(png));
  std::snprintf(sink->text, sizeof sink->text, "%s", message);
  png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Only plain values live here: libpng leaves by longjmp on an error, which must not skip
// a destructor.
bool encodeRows(std::FILE* stream, const RgbaImage& image, const PngEncoding& encoding,
                ErrorText& sink) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, onError, onWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, stream);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
               8, encoding.opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, encoding.level);
  png_set_compression_strategy(png, encoding.strategy);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, encoding.filters);
  png_write_info(png, info);
  if (encoding.opaque) png_set_filler(png, 0, PNG_FILLER_AFTER);  // the rows' alpha is dropped
  const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
  for (int y = 0; y < image.height; ++y) {
    png_write_row(png, image.pixels.data() + static_cast<std::size_t>(y) * rowBytes);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

const PngEncoding kSubtitlePngEncoding = {3, Z_DEFAULT_STRATEGY, PNG_FILTER_NONE, false};
const PngEncoding kOpaqueFramePngEncoding = {4, Z_DEFAULT_STRATEGY, PNG_FILTER_NONE, true};

bool encodePng(std::FILE* stream, const RgbaImage& image, const PngEncoding& encoding,
               std::string& error) {
  ErrorText sink{};
  if (encodeRows(stream, image, encoding, sink)) return true;
  error = sink.text[0] ? sink.text : "libpng could not start";
  return false;
}

bool writePng(const std::string& path, const RgbaImage& image, std::string& error,
              const PngEncoding& encoding) {
  if (image.width <= 0 || image.height <= 0) {
    error = "cannot write " + path + ": the image is empty";
    return false;
  }
  return writeFileAtomically(
      path,
      [&](std::FILE* stream) {
        std::string reason;
        if (encodePng(stream, image, encoding, reason)) return true;
        error = "cannot write " + path + ": " + reason;
        return false;
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
