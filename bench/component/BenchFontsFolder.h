#pragma once
// A temporary data folder for a benchmark's components, so that a run never reads or
// writes the user's own face cache: a fonts folder holding links to the four DejaVu Sans
// styles and an empty application-data folder. While it lives QUILL_FONTS_DIR and
// XDG_DATA_HOME point into it; destruction restores both and removes the folder.
// Make it before any component (a component scans the fonts folder when it is made) and
// destroy it after the last one. Not thread-safe: it changes the process environment.
#include <optional>
#include <string>

namespace QuillBench {

/// The DejaVu Sans files the folder links to, regular first, as Debian installs them.
constexpr const char* kDejaVuSansRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kDejaVuSansFiles[] = {
    kDejaVuSansRegular,
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf",
};

class BenchFontsFolder {
 public:
  BenchFontsFolder();
  ~BenchFontsFolder();
  BenchFontsFolder(const BenchFontsFolder&) = delete;
  BenchFontsFolder& operator=(const BenchFontsFolder&) = delete;

  /// False when the folder could not be made or a DejaVu Sans file is missing; `error()`
  /// then says why and the environment is unchanged.
  bool ready() const { return error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  struct Saved {
    const char* name;
    std::optional<std::string> value;
  };
  void point(Saved& saved, const std::string& value);
  static void restore(const Saved& saved);

  std::string root_;
  std::string error_;
  Saved fonts_{"QUILL_FONTS_DIR", std::nullopt};
  Saved data_{"XDG_DATA_HOME", std::nullopt};
  bool pointed_ = false;
};

}  // namespace QuillBench
