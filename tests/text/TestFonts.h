#pragma once
// Fonts and contexts shared by the renderer's tests. The fonts are Debian packages that
// scripts/setup.sh installs; nothing proprietary is needed.
#include <memory>
#include <string>
#include <vector>

#include "text/RenderContext.h"

namespace TestFonts {

inline const std::string kDir = "/usr/share/fonts/truetype/dejavu/";
inline const std::string kSans = kDir + "DejaVuSans.ttf";
inline const std::string kSansBold = kDir + "DejaVuSans-Bold.ttf";
inline const std::string kSansOblique = kDir + "DejaVuSans-Oblique.ttf";
inline const std::string kSerif = kDir + "DejaVuSerif.ttf";
inline const std::string kCollection = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

/// The bytes of a font file (empty when it cannot be read).
std::vector<unsigned char> readFile(const std::string& path);

/// A context whose base style draws with the font at `path`, resolved, at `size`, white
/// on black. Fails the calling test when the font cannot be opened.
std::unique_ptr<Orb::RenderContext> contextWithFont(const std::string& path, int size = 22,
                                                    const Orb::FaceCacheCallbacks* table = nullptr,
                                                    void* userData = nullptr);

}  // namespace TestFonts

namespace TestFonts {

/// A font collection in memory whose face i is the font file fonts[faceFile[i]]; each file
/// is stored once however many faces point at it.
std::vector<unsigned char> buildCollection(const std::vector<std::vector<unsigned char>>& fonts,
                                           const std::vector<std::size_t>& faceFile);

}  // namespace TestFonts
