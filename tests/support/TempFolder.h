#pragma once
// A fresh folder under the system's temporary folder for one test's files, removed with
// everything in it, even folders a test made read-only, when the object goes.
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace TestSupport {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quill-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    root = pattern;
  }
  ~TempFolder() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(root, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored))
      if (it->is_directory(ignored)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return root; }
  /// The folder with a trailing "/", as folder lists hold it.
  std::string entry() const { return root.string() + "/"; }
  /// Where a file `name` inside the folder lives.
  std::string file(const std::string& name) const { return entry() + name; }

 private:
  std::filesystem::path root;
};

}  // namespace TestSupport
