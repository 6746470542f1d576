#include "text/SharedFace.h"

#include <sys/stat.h>

#include "text/FontRecord.h"

namespace Orb {

std::optional<FaceFile> FaceFile::examine(const std::string& path, FT_Long index) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return std::nullopt;
  return FaceFile{path, index, static_cast<std::int64_t>(status.st_size),
                  static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

SharedFace::SharedFace(FT_Face owned, std::shared_ptr<const FontData> bytes, std::uint64_t serial,
                       std::optional<FaceFile> file)
    : face(owned), data(std::move(bytes)), id(serial), origin(std::move(file)) {}

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
