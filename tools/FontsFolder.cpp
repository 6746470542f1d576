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

// Links every installed fallback font into the tool's folder; links already there stay.
std::string gatherFallbackFonts() {
  const std::string folder = fallbackFontsFolder();
  if (folder.empty()) return folder;
  Platform::createPrivateFolders(folder);
  for (const char* file : kFallbackFontFiles) {
    std::int64_t ignored = 0;
    if (!Platform::modificationTime(file, ignored)) continue;
    const std::string name = std::string(file).substr(std::string(file).rfind('/') + 1);
    Platform::createSymbolicLink(file, folder + "/" + name);
  }
  return folder;
}

std::string use(const std::string& folder) {
  setenv(Platform::kFontsFolderVariable, folder.c_str(), 1);
  return folder;
}

}  // namespace

std::string fallbackFontsFolder() {
  const std::string data = Platform::userDataFolder();
  return data.empty() ? data : data + "/quill-render/fonts";
}

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
  const std::string gathered = gatherFallbackFonts();
  if (holdsFonts(gathered)) return use(gathered);
  return platformFolder;
}

}  // namespace QuillRender
