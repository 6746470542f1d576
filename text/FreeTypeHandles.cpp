#include "text/FreeTypeHandles.h"

namespace Orb {

FreeTypeLibrary::FreeTypeLibrary() {
  if (FT_Init_FreeType(&library) != 0) library = nullptr;
}

FreeTypeLibrary::~FreeTypeLibrary() {
  if (library != nullptr) FT_Done_FreeType(library);
}

FreeTypeStroker::FreeTypeStroker(FT_Library library) {
  if (library == nullptr || FT_Stroker_New(library, &stroker) != 0) stroker = nullptr;
}

FreeTypeStroker::~FreeTypeStroker() {
  if (stroker != nullptr) FT_Stroker_Done(stroker);
}

}  // namespace Orb
