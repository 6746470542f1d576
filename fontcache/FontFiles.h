#pragma once
// The file-system side of the face cache: which files of a font folder are fonts, how old
// they are, and how a font path splits into the folder the cache keys it under and the
// file name. Paths are UTF-8 byte strings exactly as the file system takes them.
#include <cstdint>
#include <string>
#include <vector>

namespace Orb {

/// The extensions the folder scan takes as font files.
constexpr const char* kFontFileExtensions = "ttf,dfont,ttc,otf";

/// Full paths of the files directly inside `folder` (sub-folders are neither entered nor
/// listed) whose extension is one of the comma-separated `extensions`, compared without
/// regard to ASCII letter case; empty pieces of the list are ignored. Names ending in "."
/// are skipped. Each path is `folder`, a "/" when it does not already end in one, and the
/// entry name. The order is the file system's; empty when the folder cannot be read.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& extensions);

/// Last modification of `path` in seconds since 1970, reduced to its low 32 bits as the
/// cache stores it; 0 when the file cannot be examined.
std::int64_t FileModificationTime(const std::string& path);

/// Modification time of a folder-list entry, whose one trailing separator is ignored;
/// 0 when the folder cannot be examined or the entry is empty.
std::int64_t FolderModificationTime(const std::string& folder);

/// A path cut after its last "/" (or, when it has none, its last "\"). A path with
/// neither is all folder and no file name.
struct PathParts {
  std::string folder;    ///< up to and including the separator
  std::string fileName;  ///< the rest
};

/// Splits `path` as described at PathParts.
PathParts SplitPath(const std::string& path);

}  // namespace Orb
