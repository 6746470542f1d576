#include "bench/component/BenchFontsFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace QuillBench {

namespace {

std::string makeTemporaryFolder() {
  std::error_code failure;
  std::string pattern = (std::filesystem::temp_directory_path(failure) / "quill-bench-XXXXXX").string();
  if (failure) return std::string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  return ::mkdtemp(name.data()) ? std::string(name.data()) : std::string();
}

}  // namespace

BenchFontsFolder::BenchFontsFolder() {
  root_ = makeTemporaryFolder();
  if (root_.empty()) {
    error_ = "cannot make a temporary folder";
    return;
  }
  namespace fs = std::filesystem;
  const fs::path fonts = fs::path(root_) / "fonts";
  const fs::path data = fs::path(root_) / "data";
  std::error_code failure;
  fs::create_directory(fonts, failure);
  if (!failure) fs::create_directory(data, failure);
  for (const char* file : kDejaVuSansFiles) {
    if (failure) break;
    if (!fs::exists(file)) {
      error_ = std::string(file) + " is missing (install fonts-dejavu-core)";
      return;
    }
    fs::create_symlink(file, fonts / fs::path(file).filename(), failure);
  }
  if (failure) {
    error_ = "cannot fill " + fonts.string() + ": " + failure.message();
    return;
  }
  point(fonts_, fonts.string());
  point(data_, data.string());
  pointed_ = true;
}

BenchFontsFolder::~BenchFontsFolder() {
  if (pointed_) {
    restore(fonts_);
    restore(data_);
  }
  if (!root_.empty()) {
    std::error_code ignored;  // a folder left in the temporary folder harms nobody
    std::filesystem::remove_all(root_, ignored);
  }
}

void BenchFontsFolder::point(Saved& saved, const std::string& value) {
  if (const char* previous = std::getenv(saved.name)) saved.value = previous;
  ::setenv(saved.name, value.c_str(), 1);
}

void BenchFontsFolder::restore(const Saved& saved) {
  if (saved.value) {
    ::setenv(saved.name, saved.value->c_str(), 1);
  } else {
    ::unsetenv(saved.name);
  }
}

}  // namespace QuillBench
