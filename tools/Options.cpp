#include "tools/Options.h"

#include <cctype>
#include <cstdlib>
#include <functional>

namespace QuillRender {
namespace {

using Apply = std::function<bool(RenderOptions&, const std::string&)>;

struct OptionSpec {
  OptionSpec(const char* optionName, bool hasValue, Apply applyValue,
             std::string expectedValue = {})
      : name(optionName), takesValue(hasValue), apply(std::move(applyValue)),
        expected(std::move(expectedValue)) {}

  const char* name;
  bool takesValue;
  Apply apply;           // answers false when the value is not acceptable
  std::string expected;  // what an acceptable value is, when the name does not make it plain
};

Apply store(std::string RenderOptions::*field) {
  return [field](RenderOptions& o, const std::string& v) {
    o.*field = v;
    return !v.empty();
  };
}

Apply flag(bool RenderOptions::*field) {
  return [field](RenderOptions& o, const std::string&) {
    o.*field = true;
    return true;
  };
}

Apply colour(std::uint32_t RenderOptions::*field) {
  return [field](RenderOptions& o, const std::string& v) { return parseColour(v, o.*field); };
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

const Apply jobCount = [](RenderOptions& o, const std::string& v) {
  return parseJobCount(v, o.jobs);
};
const std::string kJobsExpected = "a whole number from 1 to " + std::to_string(kMaxJobs);

bool parseWholeNumber(const std::string& text, int most, int& number);

const std::vector<OptionSpec>& optionTable() {
  static const std::vector<OptionSpec> table = {
      {"--out", true, store(&RenderOptions::outDir)},
      {"--text", true,
       [](RenderOptions& o, const std::string& v) {
         o.hasText = true;
         o.text = v;
         return true;
       }},
      {"--frames", false, flag(&RenderOptions::frames)},
      {"--background", true, store(&RenderOptions::background)},
      {"--size", true,
       [](RenderOptions& o, const std::string& v) {
         return parseFrameSize(v, o.frameWidth, o.frameHeight);
       }},
      {"--format", true,
       [](RenderOptions& o, const std::string& v) {
         const auto format = parsePixelFormat(v);
         if (format) o.format = *format;
         return format.has_value();
       }},
      {"--encoding", true,
       [](RenderOptions& o, const std::string& v) {
         const std::string name = lower(v);
         if (name == "utf8" || name == "utf-8") o.encoding = InputEncoding::Utf8;
         else if (name == "utf16" || name == "utf-16") o.encoding = InputEncoding::Utf16;
         else return false;
         return true;
       }},
      {"--font", true,
       [](RenderOptions& o, const std::string& v) { return normaliseFontValue(v, o.font); }},
      {"--font-file", true, store(&RenderOptions::fontFile)},
      {"--text-colour", true, colour(&RenderOptions::textColour)},
      {"--outline-colour", true, colour(&RenderOptions::outlineColour)},
      {"--override-colours", false, flag(&RenderOptions::overrideColours)},
      {"--override-fonts", false, flag(&RenderOptions::overrideFonts)},
      {"--fonts-dir", true, store(&RenderOptions::fontsDir)},
      {"--module", true, store(&RenderOptions::module)},
      {"--charset", true, store(&RenderOptions::charset)},
      {"--input-format", true,
       [](RenderOptions& o, const std::string& v) {
         const std::string name = lower(v);
         if (name == "srt") o.inputFormat = SubtitleFormat::Srt;
         else if (name == "vtt" || name == "webvtt") o.inputFormat = SubtitleFormat::WebVtt;
         else return false;
         return true;
       },
       "srt or vtt"},
      {"--layout", true,
       [](RenderOptions& o, const std::string& v) {
         const std::string name = lower(v);
         if (name != "full" && name != "classic") return false;
         o.layout = name;
         return true;
       },
       "full or classic"},
      {"--align", true,
       [](RenderOptions& o, const std::string& v) { return parseWholeNumber(v, 9, o.alignment); },
       "a digit from 1 to 9"},
      {"--discard", false, flag(&RenderOptions::discard)},
      {"--bdn-xml", false, flag(&RenderOptions::bdnXml)},
      {"--fps", true,
       [](RenderOptions& o, const std::string& v) {
         o.fps = parseBdnFrameRate(v);
         return o.fps.has_value();
       },
       "23.976, 24, 25, 29.97, 50 or 59.94"},
      {"-j", true, jobCount, kJobsExpected},
      {"--jobs", true, jobCount, kJobsExpected},
      {"--help", false, flag(&RenderOptions::help)},
  };
  return table;
}

const OptionSpec* findOption(const std::string& name) {
  for (const OptionSpec& entry : optionTable()) {
    if (name == entry.name) return &entry;
  }
  return nullptr;
}

ParsedOptions failed(std::string error) {
  ParsedOptions result;
  result.error = std::move(error) + " (see --help)";
  return result;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Decimal digits only (no sign, no spaces) making a number from 1 to `most`.
bool parseWholeNumber(const std::string& text, int most, int& number) {
  if (text.empty() || text.size() > 9) return false;
  int value = 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > most) return false;
  number = value;
  return true;
}

struct SplitArgument {
  std::string name;
  bool joined = false;  // a value came with the name
  std::string value;
};

// "--name=VALUE" and, for the one short option, "-jVALUE" carry their value with them.
SplitArgument split(const std::string& argument) {
  SplitArgument result;
  const bool shortWithValue = argument.size() > 2 && argument.compare(0, 2, "-j") == 0;
  const std::size_t cut = shortWithValue ? 2 : argument.find('=');
  result.name = argument.substr(0, cut);
  result.joined = cut != std::string::npos;
  if (result.joined) result.value = argument.substr(shortWithValue ? cut : cut + 1);
  return result;
}

}  // namespace

bool parseColour(const std::string& text, std::uint32_t& rgb) {
  const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
  if (digits.size() != 6) return false;
  std::uint32_t value = 0;
  for (const char c : digits) {
    const int digit = hexDigit(c);
    if (digit < 0) return false;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  rgb = value;
  return true;
}

bool parseFrameSize(const std::string& text, int& width, int& height) {
  const std::size_t cross = text.find_first_of("xX");
  if (cross == std::string::npos) return false;
  int w = 0, h = 0;
  if (!parseWholeNumber(text.substr(0, cross), kMaxFrameSide, w) ||
      !parseWholeNumber(text.substr(cross + 1), kMaxFrameSide, h)) {
    return false;
  }
  width = w;
  height = h;
  return true;
}

bool normaliseFontValue(const std::string& text, std::string& value) {
  const std::size_t colon = text.find(':');
  if (text.empty() || colon == 0) return false;
  value = colon == std::string::npos ? text + ":0::::" : text;
  return true;
}

bool parseJobCount(const std::string& text, int& jobs) {
  return parseWholeNumber(text, kMaxJobs, jobs);
}

SubtitleFormat subtitleFormatOf(const RenderOptions& options) {
  if (options.inputFormat) return *options.inputFormat;
  const std::string name = lower(options.input);
  const std::string vtt = ".vtt";
  const bool webVtt = name.size() >= vtt.size() && name.compare(name.size() - vtt.size(), vtt.size(), vtt) == 0;
  return webVtt ? SubtitleFormat::WebVtt : SubtitleFormat::Srt;
}

const char* inputFormatName(InputEncoding encoding) {
  return encoding == InputEncoding::Utf8 ? "UTF8" : "WSTR";
}

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
  ParsedOptions result;
  RenderOptions& options = result.options;
  std::vector<std::string> inputs;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      inputs.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    SplitArgument option = split(argument);
    const std::string& name = option.name;
    const OptionSpec* entry = findOption(name);
    if (!entry) return failed("unknown option '" + name + "'");
    std::string& value = option.value;
    if (option.joined) {
      if (!entry->takesValue) return failed("option " + name + " takes no value");
    } else if (entry->takesValue) {
      if (i + 1 == arguments.size()) return failed("option " + name + " needs a value");
      value = arguments[++i];
    }
    if (!entry->apply(options, value)) {
      const std::string expected = entry->expected.empty() ? "" : ": expected " + entry->expected;
      return failed("bad value '" + value + "' for " + name + expected);
    }
  }
  if (options.help) {
    result.ok = true;
    return result;
  }
  if (inputs.size() > 1) return failed("more than one subtitle file given");
  if (options.hasText && !inputs.empty()) return failed("give either a subtitle file or --text");
  if (!options.hasText && inputs.empty()) return failed("no subtitle file given");
  if (!inputs.empty()) options.input = inputs.front();
  if (!options.background.empty() && !options.frames) {
    return failed("--background needs --frames");
  }
  if (options.fps && !options.bdnXml) return failed("--fps needs --bdn-xml");
  if (options.bdnXml && options.discard) return failed("--bdn-xml needs the images, so not --discard");
  if (options.bdnXml && !bdnVideoFormat(options.frameWidth, options.frameHeight)) {
    return failed("--bdn-xml needs a Blu-ray frame size: 1920x1080, 1440x1080, 1280x720, 720x576 "
                  "or 720x480");
  }
  result.ok = true;
  return result;
}

std::string usageText(const std::string& program) {
  return "Usage: " + program + " [OPTIONS] FILE.srt|FILE.vtt\n"
         "       " + program + " [OPTIONS] --text TEXT\n"
         "\n"
         "Renders every subtitle of an SRT or WebVTT file (or one --text) with the Quill\n"
         "subtitle component and writes, into the output folder, NNNN.png for each event (the\n"
         "drawn region, straight RGBA), NNNN-frame.png with --frames, and manifest.json last.\n"
         "\n"
         "Input:\n"
         "  --text TEXT             render TEXT (markup allowed) as the only subtitle\n"
         "  --input-format srt|vtt  how to read the file (default: WebVTT for a name ending\n"
         "                          in .vtt, SRT otherwise); vtt also reads --text as cue text\n"
         "  --charset NAME          read the file as NAME (any iconv name, for example\n"
         "                          WINDOWS-1251 or ISO-8859-2); without it a byte-order mark\n"
         "                          decides (UTF-8, UTF-16, UTF-32), then valid UTF-8 is UTF-8,\n"
         "                          and any other text's encoding is detected\n"
         "  --encoding utf8|utf16   how subtitles are handed to the component (default utf8)\n"
         "\n"
         "Output:\n"
         "  --out DIR               output folder, created when missing (default\n"
         "                          quill-render-out)\n"
         "  --frames                also write NNNN-frame.png: the subtitle over a frame\n"
         "  --background IMAGE.png  picture behind the frames (scaled to --size; default a\n"
         "                          neutral grey); needs --frames\n"
         "  --discard               render everything but write no image (for timing); the\n"
         "                          manifest is still written\n"
         "  --bdn-xml               also write BDN.xml, which disc-authoring tools read to make\n"
         "                          Blu-ray subtitles of the images (needs a Blu-ray --size)\n"
         "  --fps RATE              the video's frame rate for BDN.xml: 23.976 (default), 24,\n"
         "                          25, 29.97, 50 or 59.94 (timecodes without drop frame)\n"
         "  --jobs N, -j N          render with N components side by side, one thread each\n"
         "                          (1 to " + std::to_string(kMaxJobs) +
         ", default 1); the output is the same\n"
         "                          for any N; the rate reached is reported on standard error\n"
         "\n"
         "Component settings:\n"
         "  --size WxH              frame size (default 1920x1080, at most 8192 a side)\n"
         "  --format RGBA|ARGB|BGRA|ABGR\n"
         "                          pixel byte order of the output port (default RGBA);\n"
         "                          the PNG files are the same whichever is chosen\n"
         "  --font VALUE            \"Family:0:Bold:Italic:Underline:StrikeOut\", fields may be\n"
         "                          empty; a bare family name is accepted\n"
         "                          (default \"" + std::string(kDefaultFont) + "\")\n"
         "  --font-file FILE        a font file handed to the component as media would\n"
         "                          (it is used unless --override-fonts is given); one the\n"
         "                          component refuses is reported and makes the status 3\n"
         "  --text-colour #RRGGBB   text colour (default #FFFF00)\n"
         "  --outline-colour #RRGGBB\n"
         "                          outline colour (default #000000)\n"
         "  --override-colours      ignore colours given by the markup\n"
         "  --override-fonts        ignore faces and sizes given by the markup, and\n"
         "                          --font-file when a font is configured\n"
         "  --fonts-dir DIR         the folder the component scans for fonts (sets\n"
         "                          QUILL_FONTS_DIR); by default the platform's fonts folder,\n"
         "                          or, when that has no fonts, the tool's own folder\n"
         "                          ~/.local/share/quill-render/fonts of links to the\n"
         "                          DejaVu and WenQuanYi fonts the set-up script installs\n"
         "  --layout full|classic   the component's layout engine (default full: shaping,\n"
         "                          right-to-left scripts, word wrapping, each line aligned);\n"
         "                          classic is the pen walk hosts built for it expect\n"
         "  --align N               where subtitles go, 1 to 9 as on a numeric keypad (7 8 9\n"
         "                          top, 4 5 6 middle, 1 2 3 bottom; default 2, bottom centre)\n"
         "  --module PATH           the component module to load (default: the one built\n"
         "                          beside this program)\n"
         "\n"
         "  --help                  show this text\n"
         "\n"
         "Exit status: 0 all rendered; 1 failed (no manifest written); 2 bad command line;\n"
         "3 finished, but some blocks were skipped, events not rendered or settings in the\n"
         "file ignored (see the messages and the manifest).\n";
}

}  // namespace QuillRender
