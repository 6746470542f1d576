#include "tools/VttParser.h"

#include "tools/ClockTime.h"
#include "tools/TextLines.h"
#include "tools/VttCueSettings.h"
#include "tools/VttCueText.h"

namespace QuillRender {
namespace {

constexpr std::string_view kArrow = "-->";
constexpr std::size_t kMostHourDigits = 9;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\f'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void skipSpaces(std::string_view& text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
}

// Digits at the front of `text`: their value and how many there were.
std::size_t takeDigits(std::string_view& text, std::int64_t& value) {
  std::size_t count = 0;
  value = 0;
  while (count < text.size() && isDigit(text[count])) {
    if (count <= kMostHourDigits) value = value * 10 + (text[count] - '0');
    ++count;
  }
  text.remove_prefix(count);
  return count;
}

bool takeChar(std::string_view& text, char wanted) {
  if (text.empty() || text.front() != wanted) return false;
  text.remove_prefix(1);
  return true;
}

// "WEBVTT" alone or followed by a blank and anything.
bool isSignature(std::string_view line) {
  return line.substr(0, 6) == "WEBVTT" && (line.size() == 6 || line[6] == ' ' || line[6] == '\t');
}

// A block that starts with `word` alone or followed by a blank (NOTE), or by blanks only
// (STYLE, REGION).
bool startsBlockOf(std::string_view line, std::string_view word, bool anyTextAfter) {
  if (line.substr(0, word.size()) != word) return false;
  std::string_view rest = line.substr(word.size());
  if (rest.empty()) return true;
  if (!isSpace(rest.front())) return false;
  skipSpaces(rest);
  return anyTextAfter || rest.empty();
}

struct CueTimings {
  std::int64_t startMs = 0;
  std::int64_t endMs = 0;
  VttCueSettings settings;
};

// "START --> END [settings]", as WebVTT collects cue timings and settings.
bool parseCueTimings(std::string_view line, CueTimings& timings) {
  skipSpaces(line);
  if (!takeVttTimestamp(line, timings.startMs)) return false;
  skipSpaces(line);
  if (line.substr(0, kArrow.size()) != kArrow) return false;
  line.remove_prefix(kArrow.size());
  skipSpaces(line);
  if (!takeVttTimestamp(line, timings.endMs)) return false;
  timings.settings = parseVttCueSettings(line);
  return true;
}

class BlockReader {
 public:
  BlockReader(const std::vector<std::string_view>& lines, CueMarkup markup, SubtitleDocument& document)
      : lines_(lines), markup_(markup), document_(document) {}

  // Reads the block starting at line `first` (0-based, not blank); answers the line
  // after it. As WebVTT has it, a timing line that is neither the block's first line nor
  // the second after an identifier ends the block and starts the next.
  std::size_t read(std::size_t first) {
    std::vector<std::string_view> buffer;
    std::optional<CueTimings> cue;
    std::string identifier;
    std::size_t timingLine = 0;
    bool seenArrow = false;
    std::size_t i = first;
    for (; i < lines_.size() && !lines_[i].empty(); ++i) {
      const std::size_t count = i - first + 1;
      if (lines_[i].find(kArrow) == std::string_view::npos) {
        buffer.push_back(lines_[i]);
        continue;
      }
      if (count > 2 || (count == 2 && seenArrow)) break;
      seenArrow = true;
      timingLine = i;
      CueTimings timings;
      if (parseCueTimings(lines_[i], timings)) {
        cue = timings;
        identifier = count == 2 ? std::string(buffer.front()) : std::string();
        buffer.clear();
      }
    }
    if (cue) {
      addCue(first, timingLine, *cue, std::move(identifier), buffer);
    } else if (seenArrow) {
      problem(timingLine, "cannot read the cue timing line " + quotedLine(lines_[timingLine]) +
                              " (expected [HH:]MM:SS.mmm --> [HH:]MM:SS.mmm)");
    } else if (!startsBlockOf(lines_[first], "NOTE", true) &&
               !startsBlockOf(lines_[first], "STYLE", false) &&
               !startsBlockOf(lines_[first], "REGION", false)) {
      problem(first, "expected a cue, NOTE, STYLE or REGION block, found " +
                         quotedLine(lines_[first]));
    }
    return i;
  }

 private:
  void addCue(std::size_t first, std::size_t timingLine, const CueTimings& cue,
              std::string identifier, const std::vector<std::string_view>& payload) {
    if (cue.endMs < cue.startMs) {
      return problem(timingLine, "the cue ends (" + formatClockTime(cue.endMs, '.') +
                                     ") before it starts (" + formatClockTime(cue.startMs, '.') + ")");
    }
    for (const std::string& ignored : cue.settings.ignored) warning(timingLine, ignored);
    if (!document_.events.empty() && cue.startMs < document_.events.back().startMs) {
      warning(timingLine, "the cue starts (" + formatClockTime(cue.startMs, '.') +
                              ") before the one before it (" +
                              formatClockTime(document_.events.back().startMs, '.') +
                              "); WebVTT keeps cues in order of their start");
    }
    std::string text;
    for (std::size_t k = 0; k < payload.size(); ++k) {
      if (k > 0) text += '\n';
      text += payload[k];
    }
    SubtitleEvent event;
    event.index = document_.events.size() + 1;
    event.number = std::move(identifier);
    event.startMs = cue.startMs;
    event.endMs = cue.endMs;
    event.text = vttCueTextToMarkup(text, markup_);
    event.line = first + 1;
    event.alignment = cue.settings.alignment;
    document_.events.push_back(std::move(event));
  }

  void problem(std::size_t line, std::string message) {
    document_.problems.push_back({line + 1, std::move(message)});
  }

  void warning(std::size_t line, std::string message) {
    document_.warnings.push_back({line + 1, std::move(message)});
  }

  const std::vector<std::string_view>& lines_;
  const CueMarkup markup_;
  SubtitleDocument& document_;
};

}  // namespace

bool takeVttTimestamp(std::string_view& text, std::int64_t& milliseconds) {
  std::string_view rest = text;
  std::int64_t first = 0, second = 0, third = 0, fraction = 0;
  const std::size_t firstDigits = takeDigits(rest, first);
  if (firstDigits == 0 || firstDigits > kMostHourDigits || !takeChar(rest, ':')) return false;
  const bool hours = firstDigits != 2 || first > 59;
  if (takeDigits(rest, second) != 2) return false;
  if (hours || (!rest.empty() && rest.front() == ':')) {
    if (!takeChar(rest, ':') || takeDigits(rest, third) != 2) return false;
  } else {
    third = second;
    second = first;
    first = 0;
  }
  if (!takeChar(rest, '.') || takeDigits(rest, fraction) != 3) return false;
  if (second > 59 || third > 59) return false;
  milliseconds = ((first * 60 + second) * 60 + third) * 1000 + fraction;
  text = rest;
  return true;
}

SubtitleDocument parseVtt(std::string_view utf8, CueMarkup markup) {
  SubtitleDocument document;
  const std::vector<std::string_view> lines = splitLines(utf8);
  if (lines.empty() || !isSignature(lines.front())) {
    document.unreadable = SubtitleProblem{
        1, "a WebVTT file starts with the line \"WEBVTT\"; this one starts with " +
               quotedLine(lines.empty() ? std::string_view() : lines.front())};
    return document;
  }
  // The header runs to the first blank line; a timing line ends it early, starting a cue.
  std::size_t i = 1;
  while (i < lines.size() && !lines[i].empty() && lines[i].find(kArrow) == std::string_view::npos) ++i;
  BlockReader reader(lines, markup, document);
  while (i < lines.size()) {
    i = lines[i].empty() ? i + 1 : reader.read(i);
  }
  return document;
}

}  // namespace QuillRender
