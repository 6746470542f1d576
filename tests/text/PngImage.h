#pragma once
// Minimal RGBA PNG reading and writing for the renderer's reference images.
#include <cstdint>
#include <string>
#include <vector>

struct RgbaImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;  // rows top first, 4 bytes per pixel, no padding
};

/// False when the file cannot be written.
bool writePng(const std::string& path, const RgbaImage& image);
/// False when the file is missing or not an 8-bit RGBA PNG.
bool readPng(const std::string& path, RgbaImage& image);
