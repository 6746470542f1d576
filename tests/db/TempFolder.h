#pragma once
// A fresh folder for one test's database files, removed with everything in it.
#include <cstdlib>
#include <filesystem>
#include <string>

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/quill-db-XXXXXX";
    const char* made = mkdtemp(pattern);
    folder = made ? made : "";
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string file(const std::string& name) const { return folder + "/" + name; }

 private:
  std::string folder;
};
