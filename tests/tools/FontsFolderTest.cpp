#include "tools/FontsFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "TempFolder.h"
#include "platform/Folders.h"

namespace QuillRender {
namespace {

// Runs each case with its own environment and puts the caller's back afterwards.
class FontsFolderChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {Platform::kFontsFolderVariable, "XDG_DATA_HOME"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    setenv("XDG_DATA_HOME", folder_.path().c_str(), 1);
    unsetenv(Platform::kFontsFolderVariable);
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
  }
  std::string variable() const {
    const char* value = std::getenv(Platform::kFontsFolderVariable);
    return value ? value : "";
  }

  TempFolder folder_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(FontsFolderChoice, AnEmptyPlatformFolderFallsBackToLinksToTheRegularInstalledFonts) {
  if (!std::filesystem::exists(kFallbackFontFiles[0])) GTEST_SKIP() << "fonts not installed";
  std::string error;
  const std::string own = folder_.file("quill-render/fonts");
  EXPECT_EQ(chooseFontsFolder("", error), own);
  EXPECT_EQ(variable(), own);
  EXPECT_TRUE(std::filesystem::is_symlink(own + "/DejaVuSans.ttf"));
  EXPECT_FALSE(std::filesystem::exists(own + "/DejaVuSans-ExtraLight.ttf"))
      << "a lighter face of the default family would shadow the regular one";
  // A second run finds the links in place and chooses the same folder.
  EXPECT_EQ(chooseFontsFolder("", error), own);
}

TEST_F(FontsFolderChoice, APlatformFolderWithFontsIsLeftAlone) {
  std::filesystem::create_directory(folder_.file("fonts"));
  folder_.write("fonts/Some.TTF", "not really a font, but named like one");
  std::string error;
  EXPECT_EQ(chooseFontsFolder("", error), folder_.file("fonts"));
  EXPECT_EQ(variable(), "") << "the component finds it by itself";
}

TEST_F(FontsFolderChoice, TheUsersChoiceWinsAndMustExist) {
  setenv(Platform::kFontsFolderVariable, "/from/environment", 1);
  std::string error;
  EXPECT_EQ(chooseFontsFolder("", error), "/from/environment");
  EXPECT_EQ(chooseFontsFolder(folder_.path(), error), folder_.path());
  EXPECT_EQ(variable(), folder_.path());
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(chooseFontsFolder(folder_.file("absent"), error), "");
  EXPECT_NE(error.find("absent"), std::string::npos);
}

}  // namespace
}  // namespace QuillRender
