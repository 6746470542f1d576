#pragma once
// The font folder the face index benchmarks work on: a temporary copy of every installed
// TrueType and OpenType file, flat in one folder, with a temporary data folder for the
// cache file. Shared so that Quill and its peers scan the very same files.
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace QuillBench {

class FontFolderFixture {
 public:
  /// The process's one fixture, made on first use and removed at exit. Making it points
  /// $XDG_DATA_HOME at its data folder for the rest of the process.
  static FontFolderFixture& shared();

  FontFolderFixture(const FontFolderFixture&) = delete;
  FontFolderFixture& operator=(const FontFolderFixture&) = delete;
  ~FontFolderFixture();

  /// The font folder as a folder-list entry, ending in "/".
  std::string entry() const;
  /// The font folder.
  const std::filesystem::path& folder() const;
  /// Font files copied into it.
  std::size_t fileCount() const { return files; }
  /// Where the face cache file of the data folder lives.
  std::filesystem::path cacheFile() const;

  /// A refresh as the first component of a new process makes it: a fresh connection, and
  /// the process's memory of an earlier refresh forgotten. True when it succeeded.
  bool refreshAsNewProcess();

  /// Every family the cache file records, in the order the file yields them; refreshes first when there
  /// is no cache file yet.
  std::vector<std::string> families();

 private:
  FontFolderFixture();
  struct Folders;
  std::unique_ptr<Folders> folders;
  std::size_t files = 0;
};

}  // namespace QuillBench
