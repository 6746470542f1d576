#pragma once
// The names and numbers that say what a port carries: the format names ports are
// created with, the pixel-format codes of output images, the four-character code a
// format name is reported as, and the type name of font samples.
#include <cstdint>

namespace Orb {

/// Input formats: 8-bit UTF-8 text and 16-bit UTF-16 text in the machine's byte order.
inline constexpr const char* INPUT_FORMAT_UTF8 = "UTF8";
inline constexpr const char* INPUT_FORMAT_WSTR = "WSTR";

/// Output pixel formats: the byte order of one 32-bit pixel in memory. The code is the
/// format's index in PIXEL_FORMAT_NAMES.
enum PixelFormatCode : std::uint32_t {
  PIXEL_FORMAT_RGBA = 0,
  PIXEL_FORMAT_ARGB = 1,
  PIXEL_FORMAT_BGRA = 2,
  PIXEL_FORMAT_ABGR = 3,
};
inline constexpr const char* PIXEL_FORMAT_NAMES[] = {"RGBA", "ARGB", "BGRA", "ABGR"};
inline constexpr std::uint32_t PIXEL_FORMAT_COUNT = 4;

/// The type name (MediaBuffer::setTypeName) and descriptor code of a font file sample.
inline constexpr const char* SAMPLE_TYPE_FONT = "FONT";
/// Descriptor word 4 of a font attachment (MESSAGE_FONT_ATTACHMENT).
inline constexpr std::uint32_t FONT_ATTACHMENT_WORD4 = 4;

/// The four-character code of a format name: character i (upper-cased, ASCII) in byte i,
/// character 0 lowest; a shorter name leaves the remaining bytes 0. This is what
/// getProperty("InputFormat"/"OutputFormat") answers when asked with tag ValueUInt32:
/// "BGRA" gives 0x41524742.
constexpr std::uint32_t fourCharacterCode(const char* name) {
  std::uint32_t code = 0;
  for (int i = 0; i < 4 && name[i] != '\0'; ++i) {
    char c = name[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    code |= static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << (8 * i);
  }
  return code;
}

}  // namespace Orb
