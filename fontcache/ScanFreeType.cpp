#include "fontcache/ScanFreeType.h"

namespace Orb {

ScanLibrary::ScanLibrary() {
  if (FT_Init_FreeType(&library) != 0) library = nullptr;
}

ScanLibrary::~ScanLibrary() {
  if (library) FT_Done_FreeType(library);
}

ScannedFace::ScannedFace(FT_Library library, const std::string& path, FT_Long index) {
  if (!library || FT_New_Face(library, path.c_str(), index, &face) != 0) face = nullptr;
}

ScannedFace::~ScannedFace() {
  if (face) FT_Done_Face(face);
}

}  // namespace Orb
