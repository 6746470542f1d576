#include "FontCacheTestSupport.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/time.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace FontCacheTest {

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quill-fontcache-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!::mkdtemp(buffer.data())) throw std::runtime_error("cannot make a temporary folder");
  root = buffer.data();
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  // Tests make folders read-only; give the owner its rights back so removal succeeds.
  for (auto it = std::filesystem::recursive_directory_iterator(root, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored))
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::permissions(root, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(root, ignored);
}

DataFolderOverride::DataFolderOverride() {
  if (const char* value = std::getenv("XDG_DATA_HOME")) {
    hadPrevious = true;
    previous = value;
  }
  ::setenv("XDG_DATA_HOME", folder.path().c_str(), 1);
}

DataFolderOverride::~DataFolderOverride() {
  if (hadPrevious)
    ::setenv("XDG_DATA_HOME", previous.c_str(), 1);
  else
    ::unsetenv("XDG_DATA_HOME");
}

std::filesystem::path DataFolderOverride::cacheFile() const {
  return folder.path() / "Omra" / "Omra Stream Engine" / "v3.1" / "Font Cache";
}

void DataFolderOverride::makeUnusable() {
  ::setenv("XDG_DATA_HOME", writeFile(folder.path(), "not-a-folder", "x").c_str(), 1);
}

std::filesystem::path copyFont(const std::filesystem::path& source,
                               const std::filesystem::path& folder, const std::string& name) {
  const std::filesystem::path target = folder / (name.empty() ? source.filename().string() : name);
  std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
  return target;
}

std::filesystem::path writeFile(const std::filesystem::path& folder, const std::string& name,
                                const std::string& bytes) {
  const std::filesystem::path target = folder / name;
  std::ofstream out(target, std::ios::binary);
  out << bytes;
  return target;
}

void setModificationTime(const std::filesystem::path& path, std::int64_t seconds) {
  const struct timeval times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
  if (::utimes(path.c_str(), times) != 0) throw std::runtime_error("cannot set " + path.string());
}

std::int64_t faceCount(const std::filesystem::path& path) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return 0;
  FT_Face face = nullptr;
  std::int64_t count = 0;
  if (FT_New_Face(library, path.c_str(), -1, &face) == 0) {
    count = face->num_faces;
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
  return count;
}

}  // namespace FontCacheTest
