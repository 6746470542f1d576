#pragma once
// Straight RGBA images to and from PNG files, through libpng.
#include <string>

#include "tools/RgbaImage.h"

namespace QuillRender {

/// Writes `image` as an 8-bit RGBA PNG, atomically (see AtomicFile.h). An image with no
/// pixels cannot be a PNG and is refused. False with `error` set on failure.
bool writePng(const std::string& path, const RgbaImage& image, std::string& error);

/// Reads any PNG libpng understands, converted to straight 8-bit RGBA. Images of more
/// than 2^28 pixels are refused rather than allocated. False with `error` set on failure.
bool readPng(const std::string& path, RgbaImage& image, std::string& error);

}  // namespace QuillRender
