#include "tools/SrtParser.h"

#include <cctype>

#include "tools/ClockTime.h"
#include "tools/TextLines.h"

namespace QuillRender {
namespace {

constexpr std::string_view kArrow = "-->";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool isDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

bool takeChar(std::string_view& text, char wanted) {
  if (text.empty() || text.front() != wanted) return false;
  text.remove_prefix(1);
  return true;
}

std::size_t skipBlanks(std::string_view& text) {
  std::size_t count = 0;
  while (count < text.size() && isBlank(text[count])) ++count;
  text.remove_prefix(count);
  return count;
}

// Reads up to `maxDigits` digits (at least one) from the front of `text`; a further digit
// means the number is longer than its field and fails.
bool takeNumber(std::string_view& text, std::size_t maxDigits, std::int64_t& value,
                std::size_t& digits) {
  value = 0;
  digits = 0;
  while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
    if (digits == maxDigits) return false;
    value = value * 10 + (text[digits] - '0');
    ++digits;
  }
  text.remove_prefix(digits);
  return digits > 0;
}

// A whole-number field of a time, which some tools pad with blanks instead of zeros
// (" 1:" for "01:"), followed by blanks and `separator`.
bool takeField(std::string_view& text, std::size_t maxDigits, char separator, std::int64_t& value) {
  std::size_t digits = 0;
  skipBlanks(text);
  if (!takeNumber(text, maxDigits, value, digits)) return false;
  skipBlanks(text);
  return takeChar(text, separator);
}

// The milliseconds after the decimal sign. Written without blanks, the digits are a
// decimal fraction (",5" is 500 ms, as every reader takes it). Blanks before them either
// pad a three-wide field in place of zeros (", 50" is 50 ms) or merely separate three
// digits (", 500"); any other blank-led form could mean either and is refused.
bool takeMilliseconds(std::string_view& text, std::int64_t& milliseconds) {
  const std::size_t blanks = skipBlanks(text);
  std::size_t digits = 0;
  if (!takeNumber(text, 3, milliseconds, digits)) return false;
  if (blanks == 0) {
    for (; digits < 3; ++digits) milliseconds *= 10;
    return true;
  }
  return digits == 3 || blanks + digits == 3;
}

// Reads a time from the front of `text`, leaving in `text` what follows it.
bool takeTime(std::string_view& text, std::int64_t& milliseconds) {
  std::int64_t hours = 0, minutes = 0, seconds = 0, fraction = 0;
  if (!takeField(text, 9, ':', hours) || !takeField(text, 2, ':', minutes)) return false;
  skipBlanks(text);
  std::size_t digits = 0;
  if (!takeNumber(text, 2, seconds, digits)) return false;
  skipBlanks(text);
  if (!takeChar(text, ',') && !takeChar(text, '.')) return false;
  if (!takeMilliseconds(text, fraction) || minutes > 59 || seconds > 59) return false;
  milliseconds = ((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction;
  return true;
}

// Reads "START --> END[ anything]"; a tail after END (coordinates, styles), set off by a
// blank, is ignored.
bool parseTiming(std::string_view line, std::int64_t& start, std::int64_t& end) {
  const std::size_t arrow = line.find(kArrow);
  if (arrow == std::string_view::npos) return false;
  std::string_view after = line.substr(arrow + kArrow.size());
  if (!parseSrtTime(line.substr(0, arrow), start) || !takeTime(after, end)) return false;
  return after.empty() || isBlank(after.front());
}

class BlockReader {
 public:
  explicit BlockReader(SubtitleDocument& document) : document_(document) {}

  // Reads lines [first, last) of one block; `lines` numbers from 0, reports from 1.
  void read(const std::vector<std::string_view>& lines, std::size_t first, std::size_t last) {
    std::size_t timing = first;
    std::string number;
    const std::string_view head = trim(lines[first]);
    if (isDigits(head)) {
      number = std::string(head);
      timing = first + 1;
      if (timing == last) {
        return problem(first, "subtitle " + number + " has no timing line");
      }
    } else if (head.find(kArrow) == std::string_view::npos) {
      return problem(first, "expected a subtitle number or a timing line, found " +
                                quotedLine(lines[first]));
    }
    SubtitleEvent event;
    if (!parseTiming(lines[timing], event.startMs, event.endMs)) {
      return problem(timing, "cannot read the timing line " + quotedLine(lines[timing]) +
                                 " (expected HH:MM:SS,mmm --> HH:MM:SS,mmm)");
    }
    if (event.endMs < event.startMs) {
      return problem(timing, "the subtitle ends (" + formatClockTime(event.endMs, ',') +
                                 ") before it starts (" + formatClockTime(event.startMs, ',') + ")");
    }
    for (std::size_t i = timing + 1; i < last; ++i) {
      if (i > timing + 1) event.text += '\n';
      event.text += lines[i];
    }
    event.number = std::move(number);
    event.line = first + 1;
    event.index = document_.events.size() + 1;
    document_.events.push_back(std::move(event));
  }

 private:
  void problem(std::size_t line, std::string message) {
    document_.problems.push_back({line + 1, std::move(message)});
  }

  SubtitleDocument& document_;
};

}  // namespace

bool parseSrtTime(std::string_view text, std::int64_t& milliseconds) {
  std::int64_t parsed = 0;
  if (!takeTime(text, parsed)) return false;
  skipBlanks(text);
  if (!text.empty()) return false;
  milliseconds = parsed;
  return true;
}

SubtitleDocument parseSrt(std::string_view utf8) {
  SubtitleDocument document;
  const std::vector<std::string_view> lines = splitLines(utf8);
  BlockReader reader(document);
  std::size_t i = 0;
  while (i < lines.size()) {
    if (trim(lines[i]).empty()) {
      ++i;
      continue;
    }
    const std::size_t first = i;
    while (i < lines.size() && !trim(lines[i]).empty()) ++i;
    reader.read(lines, first, i);
  }
  return document;
}

}  // namespace QuillRender
