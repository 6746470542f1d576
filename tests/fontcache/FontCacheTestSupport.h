#pragma once
// Scaffolding shared by the face cache tests: throw-away folders, real font files copied
// into them, and a per-test data folder so that no test touches the user's own cache.
#include <cstdint>
#include <filesystem>
#include <string>

namespace FontCacheTest {

/// Where the Debian packages the tests rely on put their fonts.
inline const std::filesystem::path kDejaVuFolder = "/usr/share/fonts/truetype/dejavu";
inline const std::filesystem::path kCollectionFont = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

/// A fresh, empty folder under the system's temporary folder, removed with everything in
/// it when the object goes.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return root; }
  /// The folder as the folder list holds it: with a trailing "/".
  std::string entry() const { return root.string() + "/"; }

 private:
  std::filesystem::path root;
};

/// Points $XDG_DATA_HOME at a temporary folder for the object's life, restoring it after.
class DataFolderOverride {
 public:
  DataFolderOverride();
  ~DataFolderOverride();
  DataFolderOverride(const DataFolderOverride&) = delete;
  DataFolderOverride& operator=(const DataFolderOverride&) = delete;

  const std::filesystem::path& path() const { return folder.path(); }
  /// Where the cache file of this data folder lives.
  std::filesystem::path cacheFile() const;
  /// Points $XDG_DATA_HOME at a plain file instead, below which no folder can ever be
  /// made, whoever runs the test.
  void makeUnusable();

 private:
  TemporaryFolder folder;
  bool hadPrevious = false;
  std::string previous;
};

/// Copies `source` into `folder` under `name` (its own name when empty); answers the copy.
std::filesystem::path copyFont(const std::filesystem::path& source,
                               const std::filesystem::path& folder, const std::string& name = "");

/// Writes `bytes` to a new file `folder`/`name`; answers its path.
std::filesystem::path writeFile(const std::filesystem::path& folder, const std::string& name,
                                const std::string& bytes);

/// Sets the modification time of `path` to `seconds` since 1970.
void setModificationTime(const std::filesystem::path& path, std::int64_t seconds);

/// Number of faces FreeType finds in `path` (0 when it cannot read it).
std::int64_t faceCount(const std::filesystem::path& path);

}  // namespace FontCacheTest
