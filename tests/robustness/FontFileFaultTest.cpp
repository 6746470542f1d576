// Font files that change under the component: deleted or cut short after the folder scan
// recorded them, or overwritten in place while a renderer draws with them.
#include <gtest/gtest.h>

#include <filesystem>

#include "FaultScene.h"
#include "LoadedComponent.h"

namespace {

using QuillTest::FaultScene;
using QuillTest::kStyle;
using QuillTest::LoadedComponent;
namespace fs = std::filesystem;

// Delivers `text` and answers whether downstream took an image of it. (The worker may
// send images of its own meanwhile, after a style change.)
bool rendersSomething(LoadedComponent& loaded, const std::string& text) {
  return loaded.deliver(loaded.keep(Host::SampleBuffer::text(text)));
}

enum class Damage { Deleted, CutShort, Emptied };

class ScannedFontDamaged : public ::testing::TestWithParam<Damage> {};

// The scan found the family in two files; the one the lookup answers first is gone.
TEST_P(ScannedFontDamaged, BeforeTheLookupLeavesADefinedResult) {
  FaultScene scene;
  const std::string regular = scene.fontsFolder() + "/Arial.ttf";
  LoadedComponent loaded;  // scans the folder
  switch (GetParam()) {
    case Damage::Deleted: fs::remove(regular); break;
    case Damage::CutShort: fs::resize_file(regular, fs::file_size(regular) / 3); break;
    case Damage::Emptied: fs::resize_file(regular, 0); break;
  }
  loaded.settings.setString(kStyle, "Font", "Name", "Quill Serif:0:");
  ASSERT_TRUE(loaded.component->attach(&loaded.settings));
  loaded.wire("UTF8", "RGBA", false);
  EXPECT_TRUE(rendersSomething(loaded, "serif"));
  // "Arial" now answers the damaged file: the renderer either manages or refuses, and
  // the component keeps working with what it had.
  loaded.settings.setString(kStyle, "Font", "Name", "Arial:0:");
  rendersSomething(loaded, "arial");
  loaded.settings.setString(kStyle, "Font", "Name", "Quill Serif:0:");
  EXPECT_TRUE(rendersSomething(loaded, "serif again"));
}

INSTANTIATE_TEST_SUITE_P(Damages, ScannedFontDamaged,
                         ::testing::Values(Damage::Deleted, Damage::CutShort, Damage::Emptied));

// Copying a new version over a font truncates the old file in place, under a renderer
// that has it open.
TEST(FontInUse, OverwrittenInPlaceDoesNotBringTheRendererDown) {
  FaultScene scene;
  LoadedComponent loaded;
  loaded.wire();
  ASSERT_TRUE(rendersSomething(loaded, "a"));
  const std::string regular = scene.fontsFolder() + "/Arial.ttf";
  fs::resize_file(regular, 0);
  // Glyphs not drawn before must be read from the file now.
  rendersSomething(loaded, "The quick brown fox jumps over the lazy dog 0123456789");
  fs::copy_file(scene.fontsFolder() + "/QuillSerif.ttf", regular,
                fs::copy_options::overwrite_existing);
  rendersSomething(loaded, "WXYZ wxyz !?#%");
  EXPECT_TRUE(rendersSomething(loaded, "a"));
}

}  // namespace
