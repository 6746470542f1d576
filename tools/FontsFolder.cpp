#include "tools/FontsFolder.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "platform/Files.h"
#include "platform/Folders.h"

namespace QuillRender {
namespace {

bool isFolder(const std::string& path) {
  std::vector<Platform::DirectoryEntry> entries;
  return Platform::listDirectory(path, entries);
}

bool holdsFonts(const std::string& folder) {
  std::vector<Platform::DirectoryEntry> entries;
  if (!Platform::listDirectory(folder, entries)) return false;
  for (const Platform::DirectoryEntry& entry : entries) {
    const std::size_t dot = entry.name.rfind('.');
    if (entry.isDirectory || dot == std::string::npos) continue;
    std::string extension = entry.name.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "ttf" || extension == "otf" || extension == "ttc" || extension == "dfont") {
      return true;
    }
  }
  return false;
}

std::string use(const std::string& folder) {
  setenv(Platform::kFontsFolderVariable, folder.c_str(), 1);
  return folder;
}

}  // namespace

std::string chooseFontsFolder(const std::string& requested, std::string& error) {
  if (!requested.empty()) {
    if (!isFolder(requested)) {
      error = "the fonts folder " + requested + " cannot be read";
      return std::string();
    }
    return use(requested);
  }
  const char* configured = std::getenv(Platform::kFontsFolderVariable);
  if (configured && *configured) return configured;
  const std::string platformFolder = Platform::systemFontsFolder();
  if (holdsFonts(platformFolder)) return platformFolder;
  if (isFolder(kFallbackFontsFolder)) return use(kFallbackFontsFolder);
  return platformFolder;
}

}  // namespace QuillRender
