#pragma once
// Fonts and contexts shared by the renderer's tests. The fonts are Debian packages that
// scripts/setup.sh installs; nothing proprietary is needed.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "text/FacePool.h"
#include "text/FaceLookup.h"
#include "text/FaceResolver.h"
#include "text/FontRecord.h"
#include "text/FreeTypeHandles.h"

namespace TestFonts {

inline const std::string kDir = "/usr/share/fonts/truetype/dejavu/";
inline const std::string kSans = kDir + "DejaVuSans.ttf";
inline const std::string kSansBold = kDir + "DejaVuSans-Bold.ttf";
inline const std::string kSansOblique = kDir + "DejaVuSans-Oblique.ttf";
inline const std::string kSerif = kDir + "DejaVuSerif.ttf";
inline const std::string kCollection = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

/// The bytes of a font file (empty when it cannot be read).
std::vector<unsigned char> readFile(const std::string& path);

/// A face lookup that answers through a function, so that a test decides what is installed.
class FunctionLookup : public Orb::FaceLookup {
 public:
  using Find = std::function<bool(const std::string& family, bool bold, bool italic,
                                  Orb::FaceLocation& location)>;
  explicit FunctionLookup(Find answer) : find(std::move(answer)) {}
  bool findFace(const std::string& family, bool bold, bool italic,
                Orb::FaceLocation& location) override {
    return find(family, bold, italic, location);
  }

 private:
  Find find;
};

/// What the stages below the renderer open faces with: a library, a face pool and a
/// resolver asking `lookup` (may be null).
struct FontBench {
  explicit FontBench(Orb::FaceLookup* lookup = nullptr)
      : resolver(library.handle(), faces, lookup) {}
  /// A record of the font file at `path`, resolved; fails the calling test when it cannot be.
  std::shared_ptr<Orb::FontRecord> open(const std::string& path);

  Orb::FreeTypeLibrary library;
  Orb::FacePool faces;
  Orb::FaceResolver resolver;
};

}  // namespace TestFonts

namespace TestFonts {

/// A font collection in memory whose face i is the font file fonts[faceFile[i]]; each file
/// is stored once however many faces point at it.
std::vector<unsigned char> buildCollection(const std::vector<std::vector<unsigned char>>& fonts,
                                           const std::vector<std::size_t>& faceFile);

}  // namespace TestFonts
