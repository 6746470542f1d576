#include "tools/Manifest.h"

#include <cstdio>
#include <ostream>
#include <sstream>
#include <streambuf>

#include "tools/AtomicFile.h"

namespace QuillRender {
namespace {

// Text as a JSON string. The text is valid UTF-8 (the reader checks), so only quotes,
// backslashes and control characters need escaping.
std::string quote(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// An optional text: null when empty.
std::string quoteOrNull(const std::string& text) { return text.empty() ? "null" : quote(text); }

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.12g", value);
  return text;
}

std::string colour(std::uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFFu));
  return quote(text);
}

const char* boolean(bool value) { return value ? "true" : "false"; }

template <typename T, typename Format>
std::string box(const Box<T>& b, Format format) {
  return "{\"left\": " + format(b.left) + ", \"top\": " + format(b.top) +
         ", \"right\": " + format(b.right) + ", \"bottom\": " + format(b.bottom) + "}";
}

// What the file was read as and how that was settled; null for --text.
std::string inputEncoding(const ManifestSettings& s) {
  if (s.inputCharset.empty()) return "null";
  return "{\"charset\": " + quote(s.inputCharset) + ", \"source\": " + quote(s.inputCharsetSource) + "}";
}

void writeSettings(std::ostream& out, const ManifestSettings& s) {
  out << "  \"input\": " << quoteOrNull(s.input) << ",\n"
      << "  \"settings\": {\n"
      << "    \"size\": {\"width\": " << s.frameWidth << ", \"height\": " << s.frameHeight << "},\n"
      << "    \"format\": " << quote(s.format) << ",\n"
      << "    \"encoding\": " << quote(s.encoding) << ",\n"
      << "    \"font\": " << quote(s.font) << ",\n"
      << "    \"fontFile\": " << quoteOrNull(s.fontFile) << ",\n"
      << "    \"fontFileUsed\": " << (s.fontFileUsed ? boolean(*s.fontFileUsed) : "null") << ",\n"
      << "    \"textColour\": " << colour(s.textColour) << ",\n"
      << "    \"outlineColour\": " << colour(s.outlineColour) << ",\n"
      << "    \"overrideColours\": " << boolean(s.overrideColours) << ",\n"
      << "    \"overrideFonts\": " << boolean(s.overrideFonts) << ",\n"
      << "    \"layout\": " << quote(s.layout) << ",\n"
      << "    \"align\": " << s.alignment << ",\n"
      << "    \"fontsDir\": " << quoteOrNull(s.fontsDir) << ",\n"
      << "    \"module\": " << quote(s.module) << ",\n"
      << "    \"charset\": " << quoteOrNull(s.charset) << ",\n"
      << "    \"inputEncoding\": " << inputEncoding(s) << ",\n"
      << "    \"frames\": " << boolean(s.frames) << ",\n"
      << "    \"background\": " << quoteOrNull(s.background) << ",\n"
      << "    \"discard\": " << boolean(s.discard) << "\n"
      << "  },\n";
}

void writeEvent(std::ostream& out, const ManifestEvent& e) {
  const auto integer = [](int v) { return std::to_string(v); };
  out << "    {\"index\": " << e.event.index << ", \"number\": " << quoteOrNull(e.event.number)
      << ", \"line\": " << e.event.line << ", \"start\": " << e.event.startMs
      << ", \"end\": " << e.event.endMs;
  if (e.event.alignment) out << ", \"alignment\": " << e.event.alignment;
  out << ",\n"
      << "     \"text\": " << quote(e.event.text) << ",\n"
      << "     \"rendered\": " << boolean(e.rendered);
  if (!e.reason.empty()) out << ", \"reason\": " << quote(e.reason);
  if (e.rendered) {
    out << ",\n     \"image\": " << quoteOrNull(e.image)
        << ", \"frame\": " << quoteOrNull(e.frameImage) << ",\n"
        << "     \"region\": " << box(e.region, integer) << ",\n"
        << "     \"placement\": " << box(e.placement, number) << ",\n"
        << "     \"lines\": [";
    for (std::size_t i = 0; i < e.lines.size(); ++i) {
      out << (i ? ", " : "") << "{\"text\": " << quote(e.lines[i].text)
          << ", \"ink\": " << box(e.lines[i].ink, integer) << "}";
    }
    out << "]";
    if (!e.image.empty()) out << ",\n     \"onFrame\": " << box(e.onFrame, integer);
  }
  out << "}";
}

void writeProblems(std::ostream& out, const char* name,
                   const std::vector<SubtitleProblem>& problems) {
  out << "  \"" << name << "\": [";
  for (std::size_t i = 0; i < problems.size(); ++i) {
    out << (i ? ",\n" : "\n") << "    {\"line\": " << problems[i].line
        << ", \"message\": " << quote(problems[i].message) << "}";
  }
  out << (problems.empty() ? "],\n" : "\n  ],\n");
}

void writeBdn(std::ostream& out, const std::optional<ManifestBdn>& bdn) {
  out << "  \"bdn\": ";
  if (!bdn) {
    out << "null,\n";
    return;
  }
  out << "{\"file\": " << quote(bdn->file) << ", \"videoFormat\": " << quote(bdn->videoFormat)
      << ", \"frameRate\": " << quote(bdn->frameRate) << ", \"events\": " << bdn->events
      << ", \"notes\": [";
  for (std::size_t i = 0; i < bdn->notes.size(); ++i) {
    out << (i ? ", " : "") << "{\"line\": " << bdn->notes[i].line
        << ", \"message\": " << quote(bdn->notes[i].message) << "}";
  }
  out << "]},\n";
}

void writeJson(std::ostream& out, const Manifest& manifest) {
  out << "{\n";
  writeSettings(out, manifest.settings);
  std::size_t rendered = 0;
  out << "  \"events\": [";
  for (std::size_t i = 0; i < manifest.events.size(); ++i) {
    out << (i ? ",\n" : "\n");
    writeEvent(out, manifest.events[i]);
    rendered += manifest.events[i].rendered ? 1 : 0;
  }
  out << (manifest.events.empty() ? "],\n" : "\n  ],\n");
  writeProblems(out, "skipped", manifest.skipped);
  writeProblems(out, "warnings", manifest.warnings);
  writeBdn(out, manifest.bdn);
  out << "  \"summary\": {\"events\": " << manifest.events.size() << ", \"rendered\": " << rendered
      << ", \"notRendered\": " << manifest.events.size() - rendered
      << ", \"skippedBlocks\": " << manifest.skipped.size()
      << ", \"warnings\": " << manifest.warnings.size() << "}\n";
  out << "}\n";
}

// A stream onto an open file, through the file's own buffer: a manifest of thousands of
// events goes to disk as it is written instead of growing a copy of itself in memory.
class FileOutput : public std::streambuf {
 public:
  explicit FileOutput(std::FILE* file) : file_(file) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    return std::fputc(c, file_) == EOF ? traits_type::eof() : c;
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    return static_cast<std::streamsize>(std::fwrite(text, 1, static_cast<std::size_t>(count), file_));
  }

 private:
  std::FILE* file_;  // not owned
};

}  // namespace

std::string manifestJson(const Manifest& manifest) {
  std::ostringstream out;
  writeJson(out, manifest);
  return out.str();
}

bool writeManifest(const std::string& path, const Manifest& manifest, std::string& error) {
  return writeFileAtomically(
      path,
      [&manifest](std::FILE* file) {
        FileOutput buffer(file);
        std::ostream out(&buffer);
        writeJson(out, manifest);
        return out.good();
      },
      error);
}

}  // namespace QuillRender
