#pragma once
// Straight RGBA images to and from PNG files, through libpng.
#include <cstdio>
#include <string>

#include "tools/RgbaImage.h"

namespace QuillRender {

/// How an image is written: zlib's level and strategy, PNG's row filters, and whether the
/// alpha channel is left out.
struct PngEncoding {
  int level;
  int strategy;
  int filters;   ///< PNG_FILTER_* bits; several let libpng choose per row
  bool opaque;   ///< written as RGB: the image's alpha is 255 everywhere
};

/// What subtitle images are written with. They are mostly transparent pixels, all zero
/// bytes, and runs of a few colours, which deflate finds as they are: row filters only
/// blur them, and choosing one per row costs more than the rest of the encoding. Level 3,
/// deflate's fastest search that still finds the runs, with no filter, takes a fifth of
/// the instructions of libpng's defaults for files 13 % larger; level 4 would be 2 %
/// larger at twice the cost (bench/tools: quill_png_bench, quill_png_profile).
extern const PngEncoding kSubtitlePngEncoding;

/// What the preview frames are written with when they are opaque, as over any background
/// without transparency: 8.3 MB of rows each, mostly one colour, where level 4's lazier
/// search writes files half the size of level 3's, and RGB saves a quarter of the work
/// (a third of the time of libpng's defaults, for files a fifth smaller).
extern const PngEncoding kOpaqueFramePngEncoding;

/// Writes `image` as an 8-bit PNG, atomically (see AtomicFile.h), encoded with
/// `encoding`. An image with no pixels cannot be a PNG and is refused. False with `error`
/// set on failure.
bool writePng(const std::string& path, const RgbaImage& image, std::string& error,
              const PngEncoding& encoding = kSubtitlePngEncoding);

/// Encodes `image` (not empty) as an 8-bit RGBA PNG onto `stream` with `encoding`. False
/// with `error` set when libpng gives up.
bool encodePng(std::FILE* stream, const RgbaImage& image, const PngEncoding& encoding,
               std::string& error);

/// Reads any PNG libpng understands, converted to straight 8-bit RGBA. Images of more
/// than 2^28 pixels are refused rather than allocated. False with `error` set on failure.
bool readPng(const std::string& path, RgbaImage& image, std::string& error);

}  // namespace QuillRender
