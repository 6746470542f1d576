#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes.
#include <string>

namespace QuillRender {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  /// `path()` + "/" + `name`.
  std::string file(const std::string& name) const { return path_ + "/" + name; }

  /// Writes `bytes` to `file(name)` and answers its path.
  std::string write(const std::string& name, const std::string& bytes) const;
  /// The whole content of `file(name)`; empty when it cannot be read.
  std::string read(const std::string& name) const;
  /// True when `file(name)` exists.
  bool exists(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace QuillRender
