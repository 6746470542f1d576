#pragma once
// Owners of the FreeType objects a renderer keeps for its whole life.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_STROKER_H

namespace Orb {

/// Owns an FT_Library; declared before anything holding faces so that it is done last.
/// `handle` is null when FreeType could not start.
class FreeTypeLibrary {
 public:
  FreeTypeLibrary();
  ~FreeTypeLibrary();
  FreeTypeLibrary(const FreeTypeLibrary&) = delete;
  FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
  FT_Library handle() const { return library; }

 private:
  FT_Library library = nullptr;
};

/// Owns an FT_Stroker of a library that outlives it; `handle` is null when none could be made.
class FreeTypeStroker {
 public:
  explicit FreeTypeStroker(FT_Library library);
  ~FreeTypeStroker();
  FreeTypeStroker(const FreeTypeStroker&) = delete;
  FreeTypeStroker& operator=(const FreeTypeStroker&) = delete;
  FT_Stroker handle() const { return stroker; }

 private:
  FT_Stroker stroker = nullptr;
};

}  // namespace Orb
