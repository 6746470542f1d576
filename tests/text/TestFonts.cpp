#include "tests/text/TestFonts.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "text/FaceResolver.h"

namespace TestFonts {

std::vector<unsigned char> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>());
}

std::unique_ptr<Orb::RenderContext> contextWithFont(const std::string& path, int size,
                                                    const Orb::FaceCacheCallbacks* table,
                                                    void* userData) {
  Orb::StyleNode base;
  base.font = std::make_shared<Orb::FontRecord>();
  base.font->path = path;
  base.size = size;
  base.fillColour = Orb::Colour{255, 255, 255, 0};
  auto context = Orb::RenderContext::create(std::move(base), table, userData);
  EXPECT_NE(context, nullptr);
  if (context == nullptr) return nullptr;
  EXPECT_TRUE(Orb::resolveFace(*context, *context->styles.base().font)) << path;
  Orb::applyPixelSize(context->styles.base());
  return context;
}

}  // namespace TestFonts
