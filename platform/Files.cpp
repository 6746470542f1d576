#include "platform/Files.h"

#include <dirent.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

bool createPrivateFolders(const std::string& path) {
  if (path.empty()) return false;
  // Every level after the first separator: the root itself is never made.
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1))
    ::mkdir(path.substr(0, slash).c_str(), 0700);  // an existing level is the normal case
  ::mkdir(path.c_str(), 0700);
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool renameFile(const std::string& from, const std::string& to) {
  return !from.empty() && !to.empty() && ::rename(from.c_str(), to.c_str()) == 0;
}

bool createSymbolicLink(const std::string& target, const std::string& link) {
  return !target.empty() && !link.empty() && ::symlink(target.c_str(), link.c_str()) == 0;
}

bool listDirectory(const std::string& folder, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return false;
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  while (const dirent* entry = ::readdir(dir)) {
    DirectoryEntry item;
    item.name = entry->d_name;
    struct stat status;
    item.isDirectory = ::stat((prefix + item.name).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    entries.push_back(std::move(item));
  }
  ::closedir(dir);
  return true;
}

bool modificationTime(const std::string& path, std::int64_t& seconds) {
  struct stat status;
  if (path.empty() || ::stat(path.c_str(), &status) != 0) return false;
  seconds = static_cast<std::int64_t>(status.st_mtime);
  return true;
}

}  // namespace Platform
