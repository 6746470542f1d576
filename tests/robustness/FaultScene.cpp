#include "FaultScene.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "LoadedComponent.h"

namespace QuillTest {

namespace fs = std::filesystem;

namespace {
constexpr const char* kDataVariable = "XDG_DATA_HOME";
constexpr const char* kFontsVariable = "QUILL_FONTS_DIR";
}  // namespace

FaultScene::FaultScene() {
  for (const char* name : {kDataVariable, kFontsVariable}) {
    const char* value = std::getenv(name);
    saved[name] = {value != nullptr, value ? value : ""};
  }
  fs::copy(fixtureFontsFolder(), fontsFolder(), fs::copy_options::recursive);
  ::setenv(kFontsVariable, fontsFolder().c_str(), 1);
  fs::create_directory(temp.file("data"));
  pointDataFolderAt(temp.file("data"));
}

FaultScene::~FaultScene() {
  for (const auto& [name, value] : saved) {
    if (value.first) {
      ::setenv(name.c_str(), value.second.c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }
}

std::string FaultScene::cacheFolder() const {
  return std::string(std::getenv(kDataVariable)) + "/Omra/Omra Stream Engine/v3.1";
}

void FaultScene::pointDataFolderAt(const std::string& path) {
  ::setenv(kDataVariable, path.c_str(), 1);
}

std::map<std::string, std::string> folderContents(const std::string& folder) {
  std::map<std::string, std::string> contents;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = fs::relative(it->path(), folder).string();
    if (it->is_directory()) {
      contents[name + "/"] = "";
    } else {
      contents[name] = readText(it->path().string());
    }
  }
  return contents;
}

void writeText(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace QuillTest
