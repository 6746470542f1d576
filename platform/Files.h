#pragma once
// File-system calls the font cache needs: making its folders, listing a fonts folder and
// reading modification times. Paths are UTF-8 byte strings, as the file system takes them.
#include <cstdint>
#include <string>
#include <vector>

namespace Platform {

/// One entry of a folder listing.
struct DirectoryEntry {
  std::string name;          ///< entry name, no folder part
  bool isDirectory = false;  ///< true for sub-folders (links are followed)
};

/// Creates every missing level of `path`, each readable and writable by the current user
/// only, as per-user data folders are to be made. Levels that exist keep their modes.
/// True when `path` is a folder afterwards.
bool createPrivateFolders(const std::string& path);

/// Moves `from` to `to` on the same file system, replacing `to` when it exists.
/// Answers false when the move cannot be made; `from` is then untouched.
bool renameFile(const std::string& from, const std::string& to);

/// Makes `link` a symbolic link to `target`. False when `link` exists or cannot be made.
bool createSymbolicLink(const std::string& target, const std::string& link);

/// Lists `folder` in the order the file system gives, "." and ".." included.
/// Answers false, with `entries` empty, when the folder cannot be read.
bool listDirectory(const std::string& folder, std::vector<DirectoryEntry>& entries);

/// Last modification of a file or folder in seconds since 1970-01-01 00:00 UTC.
/// Answers false, leaving `seconds` unchanged, when the path cannot be examined.
bool modificationTime(const std::string& path, std::int64_t& seconds);

}  // namespace Platform
