#include "text/SharedFace.h"

#include "text/FontRecord.h"

namespace Orb {

SharedFace::SharedFace(FT_Face owned, std::shared_ptr<const FontData> bytes, std::uint64_t serial)
    : face(owned), data(std::move(bytes)), id(serial) {}

SharedFace::~SharedFace() { FT_Done_Face(face); }

bool SharedFace::hasCharacter(char32_t codePoint) {
  if (codePoint >= kRememberedCharacters) return FT_Get_Char_Index(face, codePoint) != 0;
  if (!asked[codePoint]) {
    present[codePoint] = FT_Get_Char_Index(face, codePoint) != 0;
    asked[codePoint] = true;
  }
  return present[codePoint];
}

void SharedFace::setPixelSize(std::int32_t size) {
  if (size == pixelSize) return;
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
  pixelSize = size;
}

void SharedFace::prepare(std::int32_t size, const FT_Matrix& transform) {
  setPixelSize(size);
  if (transform.xx == currentTransform.xx && transform.xy == currentTransform.xy &&
      transform.yx == currentTransform.yx && transform.yy == currentTransform.yy) {
    return;
  }
  FT_Matrix copy = transform;
  FT_Set_Transform(face, &copy, nullptr);
  currentTransform = transform;
}

}  // namespace Orb
