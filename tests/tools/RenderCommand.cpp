#include "RenderCommand.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tools/PngFile.h"

namespace QuillRender {
namespace {

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

RunResult runQuillRender(const std::vector<std::string>& arguments, const TempFolder& folder) {
  std::string command = "env -u " + std::string("QUILL_FONTS_DIR") +
                        " XDG_DATA_HOME=" + shellQuoted(folder.file("data")) + " " +
                        shellQuoted(QUILL_RENDER_PATH);
  for (const std::string& argument : arguments) command += " " + shellQuoted(argument);
  command += " >" + shellQuoted(folder.file("stdout")) + " 2>" + shellQuoted(folder.file("stderr"));
  const int status = std::system(command.c_str());
  RunResult result;
  if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  // The shell reports a program killed by a signal as 128 + the signal.
  if (result.exitCode > 128) result.exitCode = -1;
  result.out = slurp(folder.file("stdout"));
  result.err = slurp(folder.file("stderr"));
  return result;
}

Json readManifest(const std::string& outDir) {
  Json manifest;
  std::string error;
  const std::string text = slurp(outDir + "/manifest.json");
  EXPECT_FALSE(text.empty()) << "no manifest in " << outDir;
  if (!text.empty()) {
    EXPECT_TRUE(parseJson(text, manifest, error)) << error;
  }
  return manifest;
}

RgbaImage loadPng(const std::string& path) {
  RgbaImage image;
  std::string error;
  EXPECT_TRUE(readPng(path, image, error)) << error;
  return image;
}

}  // namespace QuillRender
