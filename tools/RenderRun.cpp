#include "tools/RenderRun.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "tools/ComponentSession.h"
#include "tools/ExitStatus.h"
#include "tools/FontsFolder.h"
#include "tools/FrameCompositor.h"
#include "tools/Manifest.h"
#include "tools/ModuleLibrary.h"
#include "tools/PngFile.h"
#include "tools/ProgressBar.h"
#include "tools/SrtReader.h"

namespace QuillRender {
namespace {

constexpr const char* kManifestName = "manifest.json";

bool readFile(const std::string& path, std::string& bytes, std::string& error) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!S_ISREG(info.st_mode) || !in) {
    error = "cannot read " + path + (S_ISREG(info.st_mode) ? "" : ": not a file");
    return false;
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) {
    error = "cannot read " + path;
    return false;
  }
  bytes = content.str();
  return true;
}

// Makes `folder` and any missing parents.
bool makeFolders(const std::string& folder, std::string& error) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (!part.empty() && mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
      error = "cannot create the output folder " + folder + ": " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) break;
  }
  struct stat info;
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || access(folder.c_str(), W_OK) != 0) {
    error = "the output folder " + folder + " is not a writable folder";
    return false;
  }
  return true;
}

std::string imageName(std::size_t index, const char* suffix) {
  char name[48];
  std::snprintf(name, sizeof name, "%04zu%s.png", index, suffix);
  return name;
}

class RenderRun {
 public:
  RenderRun(const RenderOptions& options, std::string program)
      : options_(options), program_(std::move(program)) {}

  int run() {
    const auto started = std::chrono::steady_clock::now();
    if (!readSubtitles() || !loadExtras() || !startComponent() || !prepareOutput() ||
        !renderAll()) {
      return kExitFailure;
    }
    session_.reset();  // the component goes before the manifest says the run is done
    std::string error;
    if (!writeManifest(options_.outDir + "/" + kManifestName, manifest_, error)) {
      complain(error);
      return kExitFailure;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return summarise(seconds);
  }

 private:
  // Reports a failure that ends the run; answers false for the step that failed.
  bool complain(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program_.c_str(), message.c_str());
    return false;
  }

  bool readSubtitles() {
    if (options_.hasText) {
      if (!isValidUtf8(options_.text)) return complain("the --text value is not valid UTF-8");
      events_.push_back({1, "", 0, 0, options_.text, 0});
      return true;
    }
    std::string bytes, error;
    if (!readFile(options_.input, bytes, error)) return complain(error);
    SrtReadResult read = readSrt(bytes, options_.charset);
    if (!read.decoding.ok) {
      const DecodedText& d = read.decoding;
      const std::string line = std::to_string(d.badLine);
      return complain(d.badLine ? options_.input + ":" + line + ": line " + line + " " + d.error
                                : options_.input + ": " + d.error);
    }
    for (const SrtProblem& problem : read.document.problems) {
      std::fprintf(stderr, "%s: %s:%zu: %s; block skipped\n", program_.c_str(),
                   options_.input.c_str(), problem.line, problem.message.c_str());
    }
    events_ = std::move(read.document.events);
    manifest_.skipped = std::move(read.document.problems);
    return true;
  }

  // A manifest left by an earlier run would describe images this run overwrites, so it
  // goes before the first image is written; the new one appears only when all are done.
  bool prepareOutput() {
    std::string error;
    if (!makeFolders(options_.outDir, error)) return complain(error);
    const std::string manifest = options_.outDir + "/" + kManifestName;
    if (std::remove(manifest.c_str()) != 0 && errno != ENOENT) {
      return complain("cannot replace " + manifest + ": " + std::strerror(errno));
    }
    return true;
  }

  bool loadExtras() {
    std::string error, bytes;
    if (!options_.fontFile.empty()) {
      if (!readFile(options_.fontFile, bytes, error)) return complain(error);
      if (bytes.empty()) return complain("the font file " + options_.fontFile + " is empty");
      fontFile_.assign(bytes.begin(), bytes.end());
    }
    if (options_.frames) {
      RgbaImage picture;
      if (!options_.background.empty() && !readPng(options_.background, picture, error)) {
        return complain(error);
      }
      background_ = fitBackground(picture, options_.frameWidth, options_.frameHeight);
    }
    return true;
  }

  bool startComponent() {
    std::string error;
    fontsFolder_ = chooseFontsFolder(options_.fontsDir, error);
    if (!error.empty()) return complain(error);
    modulePath_ = options_.module.empty() ? ModuleLibrary::defaultPath() : options_.module;
    module_ = ModuleLibrary::open(modulePath_, error);
    if (!module_) return complain(error);
    SessionSettings settings;
    settings.frameWidth = options_.frameWidth;
    settings.frameHeight = options_.frameHeight;
    settings.format = options_.format;
    settings.encoding = options_.encoding;
    settings.font = options_.font;
    settings.fontFile = fontFile_;
    settings.textColour = options_.textColour;
    settings.outlineColour = options_.outlineColour;
    settings.overrideColours = options_.overrideColours;
    settings.overrideFonts = options_.overrideFonts;
    session_ = ComponentSession::start(*module_, settings, error);
    if (!session_) return complain(error + " (fonts folder: " + fontsFolder_ + ")");
    describeSettings();
    return true;
  }

  void describeSettings() {
    ManifestSettings& s = manifest_.settings;
    s.input = options_.input;
    s.frameWidth = options_.frameWidth;
    s.frameHeight = options_.frameHeight;
    s.format = pixelFormatName(options_.format);
    s.encoding = inputFormatName(options_.encoding);
    s.font = options_.font;
    s.fontFile = options_.fontFile;
    s.textColour = options_.textColour;
    s.outlineColour = options_.outlineColour;
    s.overrideColours = options_.overrideColours;
    s.overrideFonts = options_.overrideFonts;
    s.fontsDir = fontsFolder_;
    s.module = modulePath_;
    s.charset = options_.charset;
    s.frames = options_.frames;
    s.background = options_.background;
    s.discard = options_.discard;
  }

  bool renderAll() {
    ProgressBar progress(stderr, events_.size(), ProgressBar::isTerminal(stderr));
    for (std::size_t i = 0; i < events_.size(); ++i) {
      ManifestEvent entry;
      entry.event = events_[i];
      std::optional<DeliveredImage> image = session_->render(entry.event.text);
      if (image && !record(*image, entry)) return false;
      if (!image) {
        entry.reason = entry.event.text.empty() ? "the subtitle is empty"
                                                : "the component refused the subtitle";
      }
      manifest_.events.push_back(std::move(entry));
      progress.update(i + 1);
    }
    return true;
  }

  // Fills in a rendered event and writes its images; false after a write failure.
  bool record(const DeliveredImage& image, ManifestEvent& entry) {
    entry.rendered = true;
    entry.region = image.region;
    entry.placement = image.placement;
    if (image.pixels.pixels.empty()) {
      entry.reason = "nothing visible was drawn";
      return true;
    }
    if (options_.discard) return true;
    std::string error;
    const std::string name = imageName(entry.event.index, "");
    if (!writePng(options_.outDir + "/" + name, image.pixels, error)) return complain(error);
    entry.image = name;
    if (!options_.frames) return true;
    RgbaImage frame = background_;
    compositeOver(frame, image.pixels,
                  static_cast<int>(std::lround(image.placement.left * options_.frameWidth)),
                  static_cast<int>(std::lround(image.placement.top * options_.frameHeight)));
    const std::string frameName = imageName(entry.event.index, "-frame");
    if (!writePng(options_.outDir + "/" + frameName, frame, error)) return complain(error);
    entry.frameImage = frameName;
    return true;
  }

  int summarise(double seconds) {
    std::size_t rendered = 0;
    for (const ManifestEvent& e : manifest_.events) rendered += e.rendered ? 1 : 0;
    const std::size_t notRendered = manifest_.events.size() - rendered;
    for (const ManifestEvent& e : manifest_.events) {
      if (e.rendered) continue;
      const std::string where =
          options_.hasText ? "--text" : options_.input + ":" + std::to_string(e.event.line);
      std::fprintf(stderr, "%s: %s: event %zu not rendered: %s\n", program_.c_str(),
                   where.c_str(), e.event.index, e.reason.c_str());
    }
    std::printf("%s: %zu events, %zu rendered, %zu not rendered, %zu blocks skipped, %.2f s; "
                "output in %s\n",
                program_.c_str(), manifest_.events.size(), rendered, notRendered,
                manifest_.skipped.size(), seconds, options_.outDir.c_str());
    return notRendered || !manifest_.skipped.empty() ? kExitIncomplete : kExitSuccess;
  }

  const RenderOptions& options_;
  const std::string program_;
  std::vector<SubtitleEvent> events_;
  std::vector<std::uint8_t> fontFile_;
  RgbaImage background_;
  std::string fontsFolder_;
  std::string modulePath_;
  std::unique_ptr<ModuleLibrary> module_;
  std::unique_ptr<ComponentSession> session_;  // declared after module_: goes first
  Manifest manifest_;
};

}  // namespace

int runRender(const RenderOptions& options, const std::string& program) {
  return RenderRun(options, program).run();
}

}  // namespace QuillRender
