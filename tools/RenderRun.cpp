#include "tools/RenderRun.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#include "tools/AtomicFile.h"
#include "tools/BdnXml.h"
#include "tools/ComponentSession.h"
#include "tools/EarlierRun.h"
#include "tools/ExitStatus.h"
#include "tools/FontFileCheck.h"
#include "tools/FontsFolder.h"
#include "tools/FrameCompositor.h"
#include "tools/ImageWriter.h"
#include "tools/InputFile.h"
#include "tools/Manifest.h"
#include "tools/ModulePath.h"
#include "tools/PngFile.h"
#include "tools/ProgressBar.h"
#include "tools/SubtitleReader.h"
#include "tools/TaskPool.h"
#include "tools/VttCueText.h"
#include "tools/WorkQueue.h"
#include "tools/WorkerThreads.h"

namespace QuillRender {
namespace {

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

class RenderRun {
 public:
  RenderRun(const RenderOptions& options, std::string program)
      : options_(options), program_(std::move(program)) {}

  int run() {
    const auto started = std::chrono::steady_clock::now();
    if (!readSubtitles() || !loadExtras() || !startComponent() || !prepareOutput()) {
      return kExitFailure;
    }
    if (!renderAll() || !writeBdn()) {
      removeImagesOfThisRun();
      return kExitFailure;
    }
    sessions_.clear();  // the components go before the manifest says the run is done
    std::string error;
    if (!writeManifest(options_.outDir + "/" + kManifestName, manifest_, error)) {
      complain(error);
      removeImagesOfThisRun();
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
    const SubtitleFormat format = subtitleFormatOf(options_);
    // A WebVTT cue's text is written in the markup of the layout that draws it.
    const CueMarkup markup = options_.layout == "full" ? CueMarkup::Full : CueMarkup::Classic;
    if (options_.hasText) {
      if (!isValidUtf8(options_.text)) return complain("the --text value is not valid UTF-8");
      const std::string text = format == SubtitleFormat::WebVtt
                                   ? vttCueTextToMarkup(options_.text, markup)
                                   : options_.text;
      events_.push_back({1, "", 0, 0, text, 0, 0});
      return true;
    }
    std::string bytes, error;
    if (!readInputFile(options_.input, kMaxSubtitleFileBytes, bytes, error)) return complain(error);
    SubtitleReadResult read = readSubtitleFile(bytes, format, markup, options_.charset);
    const DecodedText& decoded = read.decoding;
    if (!decoded.ok) return complainAt(decoded.badLine, decoded.error);
    if (const std::optional<SubtitleProblem>& unreadable = read.document.unreadable) {
      return complain(options_.input + ":" + std::to_string(unreadable->line) + ": " +
                      unreadable->message);
    }
    if (decoded.source == EncodingSource::Detected && decoded.charset != "UTF-8") {
      std::fprintf(stderr, "%s: %s: read as %s, the encoding detected (--charset names another)\n",
                   program_.c_str(), options_.input.c_str(), decoded.charset.c_str());
    }
    manifest_.settings.inputCharset = decoded.charset;
    manifest_.settings.inputCharsetSource = encodingSourceName(decoded.source);
    report(read.document.problems, "; block skipped");
    report(read.document.warnings, "");
    events_ = std::move(read.document.events);
    manifest_.skipped = std::move(read.document.problems);
    manifest_.warnings = std::move(read.document.warnings);
    return true;
  }

  // Reports a failure at 1-based `line` of the input (0: the file as a whole).
  bool complainAt(std::size_t line, const std::string& error) {
    const std::string number = std::to_string(line);
    return complain(line ? options_.input + ":" + number + ": line " + number + " " + error
                         : options_.input + ": " + error);
  }

  void report(const std::vector<SubtitleProblem>& problems, const char* consequence) const {
    for (const SubtitleProblem& problem : problems) {
      std::fprintf(stderr, "%s: %s:%zu: %s%s\n", program_.c_str(), options_.input.c_str(),
                   problem.line, problem.message.c_str(), consequence);
    }
  }

  // The earlier run's files go before the first image is written: its manifest would
  // describe images this run overwrites, and its other images would stand beside the new
  // ones as if they were of this run. The new manifest appears only when all are done.
  bool prepareOutput() {
    std::string error;
    if (!makeFolders(options_.outDir, error) || !clearEarlierRun(options_.outDir, error)) {
      return complain(error);
    }
    return true;
  }

  // After a failure nothing of the run may stay: its images without a manifest would be
  // taken for an earlier run's by nobody, and refused by the next run as strangers.
  void removeImagesOfThisRun() const {
    for (const ManifestEvent& entry : manifest_.events) {
      for (const std::string* name : {&entry.image, &entry.frameImage}) {
        if (!name->empty()) unlink((options_.outDir + "/" + *name).c_str());
      }
    }
    if (manifest_.bdn) unlink((options_.outDir + "/" + manifest_.bdn->file).c_str());
  }

  // BDN.xml lists the images written, and goes before the manifest that names it. An
  // event that drew nothing has no image to list, and is noted as left out.
  bool writeBdn() {
    if (!options_.bdnXml) return true;
    const BdnFrameRate rate = options_.fps.value_or(defaultBdnFrameRate());
    std::vector<BdnGraphic> graphics;
    std::vector<SubtitleProblem> notes;
    for (const ManifestEvent& e : manifest_.events) {
      if (!e.rendered) continue;  // reported as not rendered already
      if (e.image.empty()) {
        notes.push_back({e.event.line, "event " + std::to_string(e.event.index) +
                                           " is left out of BDN.xml: " + e.reason});
        continue;
      }
      graphics.push_back({e.event.index, e.event.line, e.event.startMs, e.event.endMs, e.image,
                          e.onFrame.left, e.onFrame.top, e.onFrame.right - e.onFrame.left,
                          e.onFrame.bottom - e.onFrame.top});
    }
    const BdnDocument document =
        makeBdnXml(graphics, options_.frameWidth, options_.frameHeight, rate, filmTitle());
    notes.insert(notes.end(), document.notes.begin(), document.notes.end());
    std::stable_sort(notes.begin(), notes.end(),
                     [](const SubtitleProblem& a, const SubtitleProblem& b) { return a.line < b.line; });
    std::string error;
    if (!writeFileAtomically(options_.outDir + "/" + kBdnFileName, document.xml, error)) {
      return complain(error);
    }
    report(notes, "");
    manifest_.bdn = ManifestBdn{kBdnFileName, bdnVideoFormat(options_.frameWidth, options_.frameHeight),
                                rate.name, document.events, std::move(notes)};
    return true;
  }

  // The input's name without its folder and extension: the title BDN.xml gives the film.
  std::string filmTitle() const {
    if (options_.hasText) return program_;
    std::string name = options_.input.substr(options_.input.find_last_of('/') + 1);
    return name.substr(0, name.find_last_of('.'));
  }

  bool loadExtras() {
    std::string error, bytes;
    if (!options_.fontFile.empty()) {
      if (!readInputFile(options_.fontFile, kMaxFontFileBytes, bytes, error)) return complain(error);
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
    modulePath_ = options_.module.empty() ? defaultModulePath() : options_.module;
    module_ = Host::PluginModule::open(modulePath_, error);
    if (!module_) return complain(error);
    const SessionSettings settings = sessionSettings();
    // One after the other: the first component brings the face cache up to date, and
    // the others, made once it is, find it current instead of scanning the folder again
    // in transactions that compete for the cache file.
    for (std::size_t i = 0; i < componentCount(); ++i) {
      std::unique_ptr<ComponentSession> session =
          ComponentSession::start(*module_, settings, error);
      if (!session) return complain(error + " (fonts folder: " + fontsFolder_ + ")");
      sessions_.push_back(std::move(session));
    }
    describeSettings();
    checkFontFileIsUsed(settings);
    return true;
  }

  // The component draws with another font when it cannot use the font file: say so.
  // With --override-fonts the file goes unused by design.
  void checkFontFileIsUsed(const SessionSettings& settings) {
    if (fontFile_.empty() || options_.overrideFonts) return;
    const FontFileVerdict verdict = checkFontFile(*module_, settings);
    if (verdict == FontFileVerdict::Unknown) return;
    manifest_.settings.fontFileUsed = verdict == FontFileVerdict::Used;
    if (verdict == FontFileVerdict::Refused) {
      std::fprintf(stderr,
                   "%s: the component refused the font file %s (not a font it can read, or "
                   "damaged); the subtitles are drawn in %s instead\n",
                   program_.c_str(), options_.fontFile.c_str(),
                   options_.font.substr(0, options_.font.find(':')).c_str());
    }
  }

  // More components than events would only be made to sit idle.
  std::size_t componentCount() const {
    const std::size_t jobs = static_cast<std::size_t>(std::max(options_.jobs, 1));
    return std::min(jobs, std::max<std::size_t>(events_.size(), 1));
  }

  SessionSettings sessionSettings() const {
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
    settings.layout = options_.layout;
    settings.alignment = options_.alignment;
    settings.keepPixels = !options_.discard;
    return settings;
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
    s.layout = options_.layout;
    s.alignment = options_.alignment;
    s.fontsDir = fontsFolder_;
    s.module = modulePath_;
    s.charset = options_.charset;
    s.frames = options_.frames;
    s.background = options_.background;
    s.discard = options_.discard;
  }

  // Every event is rendered by one of the components, each on a thread of its own,
  // into its own slot of the manifest, so that the order is the file's whatever finishes
  // first. Its image is compressed and written by the writing threads meanwhile, one per
  // core, since that takes many times as long as rendering it.
  bool renderAll() {
    manifest_.events.assign(events_.size(), ManifestEvent());
    WorkQueue queue(events_.size());
    const ImageWriter writer(options_, std::move(background_));
    const auto started = std::chrono::steady_clock::now();
    {
      ProgressBar progress(stderr, events_.size(), ProgressBar::isTerminal(stderr));
      // With nothing to write, handing over would cost more than it saves.
      const std::size_t writers =
          options_.discard ? 0 : std::max(1u, std::thread::hardware_concurrency());
      TaskPool writing(writers, 2 * writers);
      componentsUsed_ = runWorkers(sessions_.size(), [&](std::size_t worker) {
        while (const std::optional<std::size_t> index = queue.next()) {
          std::optional<DeliveredImage> image = renderEvent(*sessions_[worker], *index);
          // Writing goes on after a failure, so that of several the first in file order
          // is the one reported, as a run in order would stop there.
          writing.submit([&, index = *index, image = std::move(image)] {
            std::string error;
            if (image && !writer.write(*image, manifest_.events[index], error)) {
              queue.fail(index, std::move(error));
            }
            progress.advance();
          });
        }
      });
      writing.finish();
    }
    renderSeconds_ =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const std::optional<std::string> failure = queue.failure();
    return failure ? complain(*failure) : true;
  }

  // What the component is given for `event`: the full engine reads an alignment the file
  // asked for (a WebVTT cue's) from an override block ahead of the text; the classic engine
  // would show the block, so it gets the text alone.
  std::string componentText(const SubtitleEvent& event) const {
    if (event.alignment == 0 || options_.layout != "full") return event.text;
    return "{\\an" + std::to_string(event.alignment) + "}" + event.text;
  }

  // Renders event `index` into its manifest entry; answers what the component delivered
  // (nothing when it refused, which the entry then says).
  std::optional<DeliveredImage> renderEvent(ComponentSession& session, std::size_t index) {
    ManifestEvent& entry = manifest_.events[index];
    entry.event = events_[index];
    std::optional<DeliveredImage> image = session.render(componentText(entry.event));
    if (!image) {
      entry.reason = entry.event.text.empty() ? "the subtitle is empty"
                                              : "the component refused the subtitle";
    }
    return image;
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
    reportRate();
    const bool incomplete = notRendered || !manifest_.skipped.empty() ||
                            !manifest_.warnings.empty() || manifest_.settings.fontFileUsed == false;
    return incomplete ? kExitIncomplete : kExitSuccess;
  }

  // The rate goes beside the diagnostics, so that the summary line stays as scripts know it.
  void reportRate() const {
    const double events = static_cast<double>(manifest_.events.size());
    std::fprintf(stderr, "%s: %zu events in %.2f s with %zu component%s: %.1f events/s\n",
                 program_.c_str(), manifest_.events.size(), renderSeconds_, componentsUsed_,
                 componentsUsed_ == 1 ? "" : "s", renderSeconds_ > 0 ? events / renderSeconds_ : 0.0);
  }

  const RenderOptions& options_;
  const std::string program_;
  std::vector<SubtitleEvent> events_;
  std::vector<std::uint8_t> fontFile_;
  RgbaImage background_;
  std::string fontsFolder_;
  std::string modulePath_;
  std::unique_ptr<Host::PluginModule> module_;
  std::vector<std::unique_ptr<ComponentSession>> sessions_;  // after module_: they go first
  std::size_t componentsUsed_ = 0;
  double renderSeconds_ = 0;
  Manifest manifest_;
};

}  // namespace

int runRender(const RenderOptions& options, const std::string& program) {
  return RenderRun(options, program).run();
}

}  // namespace QuillRender
