#include "text/StyledText.h"

#include <cstring>

namespace Orb {

Colour Colour::fromMemory(std::uint32_t value) {
  unsigned char bytes[sizeof(value)];
  std::memcpy(bytes, &value, sizeof(value));
  return Colour{bytes[0], bytes[1], bytes[2], bytes[3]};
}

bool Colour::operator==(const Colour& other) const {
  return red == other.red && green == other.green && blue == other.blue && unused == other.unused;
}

bool TextStyle::operator==(const TextStyle& other) const {
  return font == other.font && size == other.size && underline == other.underline &&
         strikeOut == other.strikeOut && fill == other.fill && outline == other.outline;
}

}  // namespace Orb
