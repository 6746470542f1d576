#pragma once
// The record of one run that scripts read: every event with its timing, text, image
// files and where the component drew and placed it, the blocks that were skipped and the
// settings used. It is written last and atomically, so a manifest that exists always
// describes a finished run.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/SubtitleDocument.h"

namespace QuillRender {

/// A rectangle exactly as the component reported it.
template <typename T>
struct Box {
  T left{}, top{}, right{}, bottom{};
};

/// One line of a subtitle as the component laid it out.
struct ManifestLine {
  std::string text;  ///< without markup, in logical order
  Box<int> ink;      ///< frame pixels (right and bottom exclusive); all 0 when nothing drawn
};

struct ManifestEvent {
  SubtitleEvent event;
  bool rendered = false;
  std::string reason;      ///< why it was not rendered, or a note on a rendered one
  std::string image;       ///< file name of the subtitle image; empty when none was written
  std::string frameImage;  ///< file name of the preview frame; empty when none was written
  Box<int> region;         ///< image region in buffer pixels (right and bottom inclusive)
  Box<double> placement;   ///< the same region in normalised frame coordinates
  std::vector<ManifestLine> lines;  ///< the lines as laid out
  Box<int> onFrame;        ///< where the image written lies on the frame, in frame pixels
};

/// What was written for disc authoring (--bdn-xml).
struct ManifestBdn {
  std::string file;         ///< "BDN.xml"
  std::string videoFormat;  ///< "1080p"...
  std::string frameRate;    ///< "23.976"...
  std::size_t events = 0;   ///< events in the file
  std::vector<SubtitleProblem> notes;  ///< events cut short or left out
};

/// The settings of the run as the user gave them (or the defaults that stood in).
struct ManifestSettings {
  std::string input;  ///< the subtitle file, or empty for --text
  int frameWidth = 0;
  int frameHeight = 0;
  std::string format;
  std::string encoding;
  std::string font;
  std::string fontFile;
  std::optional<bool> fontFileUsed;  ///< whether the component drew with it; unset: not known
  std::uint32_t textColour = 0;
  std::uint32_t outlineColour = 0;
  bool overrideColours = false;
  bool overrideFonts = false;
  std::string layout;  ///< the layout engine, "full" or "classic"
  int alignment = 0;   ///< 1..9 as on a numeric keypad
  std::string fontsDir;
  std::string module;
  std::string charset;              ///< as given with --charset; empty when not
  std::string inputCharset;         ///< what the file was read as; empty for --text
  std::string inputCharsetSource;   ///< "given", "byte-order mark" or "detected"
  bool frames = false;
  std::string background;
  bool discard = false;
};

struct Manifest {
  ManifestSettings settings;
  std::vector<ManifestEvent> events;
  std::vector<SubtitleProblem> skipped;
  std::vector<SubtitleProblem> warnings;  ///< what the reader ignored in events it kept
  std::optional<ManifestBdn> bdn;         ///< set when BDN.xml was written
};

/// The manifest as JSON text (UTF-8, two-space indentation, ending in a newline).
std::string manifestJson(const Manifest& manifest);

/// Writes manifestJson(manifest) to `path` atomically; false with `error` on failure.
bool writeManifest(const std::string& path, const Manifest& manifest, std::string& error);

}  // namespace QuillRender
