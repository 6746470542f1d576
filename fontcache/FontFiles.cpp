#include "fontcache/FontFiles.h"

#include <set>

#include "platform/Files.h"
#include "platform/Folders.h"

namespace Orb {
namespace {

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string asciiLower(std::string text) {
  for (char& c : text) c = asciiLower(c);
  return text;
}

std::set<std::string> extensionSet(const std::string& extensions) {
  std::set<std::string> set;
  std::size_t start = 0;
  while (start <= extensions.size()) {
    std::size_t comma = extensions.find(',', start);
    if (comma == std::string::npos) comma = extensions.size();
    if (comma > start) set.insert(asciiLower(extensions.substr(start, comma - start)));
    start = comma + 1;
  }
  return set;
}

}  // namespace

std::vector<std::string> ListFiles(const std::string& folder, const std::string& extensions) {
  std::vector<std::string> files;
  const std::set<std::string> wanted = extensionSet(extensions);
  std::vector<Platform::DirectoryEntry> entries;
  if (wanted.empty() || !Platform::listDirectory(folder, entries)) return files;
  std::string prefix = folder;
  if (prefix.empty() || prefix.back() != Platform::kPathSeparator) prefix += Platform::kPathSeparator;
  for (const Platform::DirectoryEntry& entry : entries) {
    // A name ending in "." is ".", ".." or something no font file is called.
    if (entry.isDirectory || entry.name.empty() || entry.name.back() == '.') continue;
    const std::size_t dot = entry.name.rfind('.');
    if (dot == std::string::npos) continue;
    if (wanted.count(asciiLower(entry.name.substr(dot + 1))) == 0) continue;
    files.push_back(prefix + entry.name);
  }
  return files;
}

std::int64_t FileModificationTime(const std::string& path) {
  std::int64_t seconds = 0;
  if (!Platform::modificationTime(path, seconds)) return 0;
  return static_cast<std::int64_t>(static_cast<std::uint32_t>(seconds));
}

std::int64_t FolderModificationTime(const std::string& folder) {
  std::string path = folder;
  // The root folder keeps its only separator.
  if (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  std::int64_t seconds = 0;
  if (path.empty() || !Platform::modificationTime(path, seconds)) return 0;
  return seconds;
}

PathParts SplitPath(const std::string& path) {
  std::size_t cut = path.rfind('/');
  if (cut == std::string::npos) cut = path.rfind('\\');
  if (cut == std::string::npos) return PathParts{path, std::string()};
  return PathParts{path.substr(0, cut + 1), path.substr(cut + 1)};
}

}  // namespace Orb
