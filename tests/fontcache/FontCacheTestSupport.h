#pragma once
// Scaffolding shared by the face cache tests: real font files copied into throw-away
// folders, and a per-test data folder so that no test touches the user's own cache.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/time.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>

#include "tests/log/RecordingLog.h"
#include "SqliteFile.h"
#include "tests/support/TempFolder.h"

namespace FontCacheTest {

using TemporaryFolder = TestSupport::TempFolder;
using Rows = SqliteFile::Rows;

/// Where the Debian packages the tests rely on put their fonts.
inline const std::filesystem::path kDejaVuFolder = "/usr/share/fonts/truetype/dejavu";
inline const std::filesystem::path kCollectionFont = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

/// Writes `bytes` to a new file `folder`/`name`; answers its path.
inline std::filesystem::path writeFile(const std::filesystem::path& folder, const std::string& name,
                                       const std::string& bytes) {
  std::ofstream(folder / name, std::ios::binary) << bytes;
  return folder / name;
}

/// The whole contents of `path` (empty when it cannot be read).
inline std::string contentsOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Copies `source` into `folder` under `name` (its own name when empty); answers the copy.
inline std::filesystem::path copyFont(const std::filesystem::path& source, const std::filesystem::path& folder,
                                      const std::string& name = "") {
  const std::filesystem::path target = folder / (name.empty() ? source.filename().string() : name);
  std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
  return target;
}

/// Sets the modification time of `path` to `seconds` since 1970.
inline void setModificationTime(const std::filesystem::path& path, std::int64_t seconds) {
  const struct timeval times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
  if (::utimes(path.c_str(), times) != 0) throw std::runtime_error("cannot set " + path.string());
}

/// Number of faces FreeType finds in `path` (0 when it cannot read it).
inline std::int64_t faceCount(const std::filesystem::path& path) {
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

/// The file change counter in the header of the database at `path`: SQLite raises it with
/// every transaction that writes to the file. Empty for a file too short to have one.
inline std::string changeCounter(const std::filesystem::path& path) {
  const std::string bytes = contentsOf(path);
  return bytes.size() < 28 ? std::string() : bytes.substr(24, 4);
}

/// How often the scan logged trying the font at `path` (any font when empty).
inline int triesOf(const std::string& path = "") {
  int count = 0;
  for (const RecordedMessage& message : RecordingLog_messages())
    count += message.format == "trying font at '%s'" && message.category == "Text" &&
             (path.empty() || message.text == "trying font at '" + path + "'");
  return count;
}

/// Points $XDG_DATA_HOME at a temporary folder for the object's life, restoring it after.
class DataFolderOverride {
 public:
  DataFolderOverride() {
    if (const char* value = std::getenv("XDG_DATA_HOME")) previous = value;
    ::setenv("XDG_DATA_HOME", folder.path().c_str(), 1);
  }
  ~DataFolderOverride() {
    if (previous) ::setenv("XDG_DATA_HOME", previous->c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
  }
  DataFolderOverride(const DataFolderOverride&) = delete;
  DataFolderOverride& operator=(const DataFolderOverride&) = delete;

  const std::filesystem::path& path() const { return folder.path(); }
  /// Where the cache file of this data folder lives.
  std::filesystem::path cacheFile() const { return path() / "Omra" / "Omra Stream Engine" / "v3.1" / "Font Cache"; }
  /// Points $XDG_DATA_HOME at a plain file instead, below which no folder can ever be
  /// made, whoever runs the test.
  void makeUnusable() { ::setenv("XDG_DATA_HOME", writeFile(path(), "not-a-folder", "x").c_str(), 1); }

 private:
  TemporaryFolder folder;
  std::optional<std::string> previous;
};

}  // namespace FontCacheTest
