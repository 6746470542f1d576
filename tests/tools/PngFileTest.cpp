#include "tools/PngFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.h"

namespace QuillRender {
namespace {

std::size_t filesIn(const std::string& folder) {
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) count += entry.is_regular_file();
  return count;
}

TEST(PngFile, PixelsSurviveTheRoundTripExactly) {
  TempFolder folder;
  RgbaImage image(3, 2);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<std::uint8_t>(i * 21 + 1);
  std::string error;
  ASSERT_TRUE(writePng(folder.file("a.png"), image, error)) << error;
  RgbaImage read;
  ASSERT_TRUE(readPng(folder.file("a.png"), read, error)) << error;
  EXPECT_EQ(read.width, 3);
  EXPECT_EQ(read.height, 2);
  EXPECT_EQ(read.pixels, image.pixels);
  EXPECT_EQ(filesIn(folder.path()), 1u) << "no temporary file is left beside it";

  // Written without its alpha, an opaque image reads back the same.
  for (std::size_t alpha = 3; alpha < image.pixels.size(); alpha += 4) image.pixels[alpha] = 255;
  ASSERT_TRUE(writePng(folder.file("b.png"), image, error, kOpaqueFramePngEncoding)) << error;
  ASSERT_TRUE(readPng(folder.file("b.png"), read, error)) << error;
  EXPECT_EQ(read.pixels, image.pixels);
}

TEST(PngFile, FailuresAreReportedAndLeaveNothing) {
  TempFolder folder;
  std::string error;
  EXPECT_FALSE(writePng(folder.file("empty.png"), RgbaImage(), error));
  EXPECT_NE(error.find("empty"), std::string::npos);
  error.clear();
  EXPECT_FALSE(writePng(folder.file("no/such/folder.png"), RgbaImage(1, 1), error));
  EXPECT_NE(error.find("no/such/folder.png"), std::string::npos);
  EXPECT_EQ(filesIn(folder.path()), 0u);

  RgbaImage read;
  error.clear();
  EXPECT_FALSE(readPng(folder.write("fake.png", "not a png at all"), read, error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(readPng(folder.file("missing.png"), read, error));
  EXPECT_NE(error.find("missing.png"), std::string::npos);
}

}  // namespace
}  // namespace QuillRender
