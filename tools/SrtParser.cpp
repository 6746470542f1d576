#include "tools/SrtParser.h"

#include <cctype>
#include <cstdio>

namespace QuillRender {
namespace {

constexpr std::string_view kArrow = "-->";
constexpr std::size_t kQuotedLimit = 40;

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string_view trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool isDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Reads up to `maxDigits` digits (at least one) from the front of `text`.
bool takeNumber(std::string_view& text, std::size_t maxDigits, std::int64_t& value) {
  std::size_t count = 0;
  value = 0;
  while (count < text.size() && count < maxDigits &&
         std::isdigit(static_cast<unsigned char>(text[count]))) {
    value = value * 10 + (text[count] - '0');
    ++count;
  }
  text.remove_prefix(count);
  return count > 0;
}

bool takeChar(std::string_view& text, char wanted) {
  if (text.empty() || text.front() != wanted) return false;
  text.remove_prefix(1);
  return true;
}

std::string quoted(std::string_view line) {
  std::string shown(line.substr(0, kQuotedLimit));
  if (line.size() > kQuotedLimit) shown += "...";
  return "\"" + shown + "\"";
}

std::string formatTime(std::int64_t ms) {
  char text[40];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld",
                static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
  return text;
}

// Reads "START --> END[ anything]"; the tail after END (coordinates, styles) is ignored.
bool parseTiming(std::string_view line, std::int64_t& start, std::int64_t& end) {
  const std::size_t arrow = line.find(kArrow);
  if (arrow == std::string_view::npos) return false;
  std::string_view after = trim(line.substr(arrow + kArrow.size()));
  after = after.substr(0, after.find_first_of(" \t"));
  return parseSrtTime(trim(line.substr(0, arrow)), start) && parseSrtTime(after, end);
}

class BlockReader {
 public:
  explicit BlockReader(SrtDocument& document) : document_(document) {}

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
                                quoted(lines[first]));
    }
    SubtitleEvent event;
    if (!parseTiming(lines[timing], event.startMs, event.endMs)) {
      return problem(timing, "cannot read the timing line " + quoted(lines[timing]) +
                                 " (expected HH:MM:SS,mmm --> HH:MM:SS,mmm)");
    }
    if (event.endMs < event.startMs) {
      return problem(timing, "the subtitle ends (" + formatTime(event.endMs) +
                                 ") before it starts (" + formatTime(event.startMs) + ")");
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

  SrtDocument& document_;
};

}  // namespace

bool parseSrtTime(std::string_view text, std::int64_t& milliseconds) {
  std::int64_t hours = 0, minutes = 0, seconds = 0, fraction = 0;
  if (!takeNumber(text, 9, hours) || !takeChar(text, ':')) return false;
  if (!takeNumber(text, 2, minutes) || !takeChar(text, ':')) return false;
  if (!takeNumber(text, 2, seconds)) return false;
  if (!takeChar(text, ',') && !takeChar(text, '.')) return false;
  const std::size_t fractionDigits = text.size();
  if (!takeNumber(text, 3, fraction) || !text.empty()) return false;
  if (minutes > 59 || seconds > 59) return false;
  for (std::size_t digits = fractionDigits; digits < 3; ++digits) fraction *= 10;
  milliseconds = ((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction;
  return true;
}

SrtDocument parseSrt(std::string_view utf8) {
  SrtDocument document;
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
