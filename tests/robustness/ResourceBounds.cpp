// Measures the worst cases strangers' files can cause, for the numbers in the notes:
//   robustness_bounds render KIND     one render of a 1 MiB hostile subtitle of KIND
//                                     (nested, faces, sizes, unbroken, lines)
//   robustness_bounds refresh FOLDER  a component's cache refresh over FOLDER, which is
//                                     filled with 1000 unreadable ".ttf" files first if
//                                     it is empty; the data folder is FOLDER/../data, so
//                                     a second run finds the cache warm.
// Run it under `/usr/bin/time -v` for the peak memory; it prints the wall time itself.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "LoadedComponent.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kSubtitleBytes = 1 << 20;
constexpr int kUnreadableFonts = 1000;

std::string repeatedTo(std::size_t bytes, const std::function<std::string(std::size_t)>& piece) {
  std::string text;
  for (std::size_t i = 0; text.size() < bytes; ++i) text += piece(i);
  text.resize(bytes);
  return text;
}

bool hostileSubtitle(const std::string& kind, std::string& text) {
  if (kind == "nested") {
    text = repeatedTo(kSubtitleBytes, [](std::size_t) { return "<b><i><u><s><font color=\"#FF00FF\">x"; });
  } else if (kind == "faces") {
    text = repeatedTo(kSubtitleBytes, [](std::size_t i) {
      return std::string(i % 2 ? "<font face=\"Quill Serif\">" : "<font face=\"Arial\">") + "y";
    });
  } else if (kind == "sizes") {
    text = repeatedTo(kSubtitleBytes, [](std::size_t i) {
      return std::string(i % 2 ? "<font size=\"1\">" : "<font size=\"99999\">") + "z";
    });
  } else if (kind == "unbroken") {
    text = std::string(kSubtitleBytes, 'W');
  } else if (kind == "lines") {
    text = repeatedTo(kSubtitleBytes, [](std::size_t) { return "line\n"; });
  } else {
    return false;
  }
  return true;
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

int render(const std::string& kind) {
  std::string text;
  if (!hostileSubtitle(kind, text)) {
    std::fprintf(stderr, "unknown kind %s\n", kind.c_str());
    return 2;
  }
  ::setenv("QUILL_FONTS_DIR", QuillTest::fixtureFontsFolder().c_str(), 1);
  QuillTest::LoadedComponent loaded;
  loaded.settings.setSize(QuillTest::kFrameBuffer, "framebuffer", "size", 1920, 1080);
  loaded.wire();
  Host::SampleBuffer& sample = loaded.keep(Host::SampleBuffer::text(text));
  const auto start = Clock::now();
  const bool delivered = loaded.deliver(sample);
  const double took = secondsSince(start);
  std::printf("render %s: %.3f s, %s", kind.c_str(), took, delivered ? "delivered" : "refused");
  if (delivered) {
    const auto& region = loaded.downstream.images().back().properties.region;
    std::printf(", region %d x %d", region.width(), region.height());
  }
  std::printf("\n");
  return 0;
}

int refresh(const fs::path& folder) {
  fs::create_directories(folder);
  if (fs::is_empty(folder)) {
    for (int i = 0; i < kUnreadableFonts; ++i) {
      std::ofstream file(folder / ("unreadable" + std::to_string(i) + ".ttf"), std::ios::binary);
      for (int b = 0; b < 4096; ++b) file.put(static_cast<char>((i * 31 + b * 17) % 256));
    }
  }
  const fs::path data = folder.parent_path() / "data";
  fs::create_directories(data);
  ::setenv("QUILL_FONTS_DIR", folder.c_str(), 1);
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  const auto start = Clock::now();
  QuillTest::LoadedComponent loaded;  // refreshes the cache
  std::printf("refresh over %s: %.3f s\n", folder.c_str(), secondsSince(start));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 2 ? argv[1] : "";
  if (command == "render") return render(argv[2]);
  if (command == "refresh") return refresh(fs::absolute(argv[2]));
  std::fprintf(stderr, "usage: %s render KIND | refresh FOLDER\n", argv[0]);
  return 2;
}
