#pragma once
// The command line of quill-render: what each option means is in usageText(); the
// defaults here are the ones that render well on a machine with nothing configured.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/BdnXml.h"
#include "tools/PixelFormat.h"
#include "tools/SubtitleReader.h"

namespace QuillRender {

/// The family the component is pointed at when --font is not given.
constexpr const char* kDefaultFont = "DejaVu Sans:0::::";
/// Largest frame side accepted by --size; a preview frame beyond it would not be useful.
constexpr int kMaxFrameSide = 8192;
/// Most components --jobs may run at once: each holds a canvas and its fonts, and far more
/// than the machine's cores only costs memory.
constexpr int kMaxJobs = 64;

enum class InputEncoding { Utf8, Utf16 };

struct RenderOptions {
  std::string input;          ///< the subtitle file; empty with --text
  std::optional<SubtitleFormat> inputFormat;  ///< --input-format; unset: from the file name
  bool hasText = false;       ///< --text was given (its value may be empty)
  std::string text;
  std::string outDir = "quill-render-out";
  bool frames = false;
  std::string background;
  int frameWidth = 1920;
  int frameHeight = 1080;
  PixelFormat format = PixelFormat::RGBA;
  InputEncoding encoding = InputEncoding::Utf8;
  std::string font = kDefaultFont;
  std::string fontFile;
  std::uint32_t textColour = 0xFFFF00;   ///< 0x00RRGGBB
  std::uint32_t outlineColour = 0x000000;
  bool overrideColours = false;
  bool overrideFonts = false;
  std::string fontsDir;
  std::string module;         ///< empty: the module built beside the program
  std::string charset;
  bool discard = false;
  bool bdnXml = false;                ///< --bdn-xml: also BDN.xml, for disc authoring
  std::optional<BdnFrameRate> fps;    ///< --fps; unset: defaultBdnFrameRate()
  int jobs = 1;               ///< components rendering side by side (-j, --jobs)
  std::string layout = "full";  ///< the component's "Layout"/"Engine": "full" or "classic"
  int alignment = 2;            ///< "Layout"/"Alignment", 1..9 as on a numeric keypad
  bool help = false;
};

struct ParsedOptions {
  bool ok = false;
  RenderOptions options;
  std::string error;  ///< one line, when not ok
};

/// Parses the arguments after the program name. "--name VALUE" and "--name=VALUE" are
/// both accepted, and "-j N" also as "-jN"; "--" ends the options.
ParsedOptions parseOptions(const std::vector<std::string>& arguments);

/// The --help text.
std::string usageText(const std::string& program);

/// "#RRGGBB" or "RRGGBB" (hex digits in either case) into 0x00RRGGBB.
bool parseColour(const std::string& text, std::uint32_t& rgb);

/// "WxH" (or "WXH") with both sides from 1 to kMaxFrameSide.
bool parseFrameSize(const std::string& text, int& width, int& height);

/// The "Font"/"Name" value for a --font argument: a bare family gets the empty style
/// fields appended ("DejaVu Serif" becomes "DejaVu Serif:0::::"), since the component
/// ignores a value without them. False for a value with an empty family.
bool normaliseFontValue(const std::string& text, std::string& value);

/// A whole number from 1 to kMaxJobs, in decimal digits only.
bool parseJobCount(const std::string& text, int& jobs);

/// The format to read the input as: --input-format when given, otherwise WebVTT for a
/// file name ending in ".vtt" (in any letter case) and SRT for any other.
SubtitleFormat subtitleFormatOf(const RenderOptions& options);

/// "UTF8" or "WSTR", the input port format for `encoding`.
const char* inputFormatName(InputEncoding encoding);

}  // namespace QuillRender
