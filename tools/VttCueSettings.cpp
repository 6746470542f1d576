#include "tools/VttCueSettings.h"

#include <cstdlib>
#include <optional>

namespace QuillRender {
namespace {

enum class Column { Left, Centre, Right };
enum class Row { Top, Middle, Bottom };

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::vector<std::string_view> splitOnSpaces(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && isSpace(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !isSpace(text[i])) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

// "digits[.digits]": WebVTT's real number; nullopt for anything else.
std::optional<double> realNumber(std::string_view text) {
  const std::size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view fraction = dot == std::string_view::npos ? "" : text.substr(dot + 1);
  const auto digits = [](std::string_view part) {
    for (const char c : part) {
      if (!isDigit(c)) return false;
    }
    return true;
  };
  if (whole.empty() || !digits(whole) || (dot != std::string_view::npos && (fraction.empty() || !digits(fraction)))) {
    return std::nullopt;
  }
  return std::strtod(std::string(text).c_str(), nullptr);
}

// "NN[.NN]%" from 0 to 100.
std::optional<double> percentage(std::string_view text) {
  if (text.empty() || text.back() != '%') return std::nullopt;
  const std::optional<double> value = realNumber(text.substr(0, text.size() - 1));
  if (!value || *value > 100) return std::nullopt;
  return value;
}

// "[-]digits[.digits]": a line number counted from the top, or from the bottom when
// negative.
std::optional<double> lineNumber(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  const std::optional<double> value = realNumber(negative ? text.substr(1) : text);
  if (!value) return std::nullopt;
  return negative ? -*value : *value;
}

// A value with an optional ",alignment" part: the two halves, or false when the
// alignment is not one of `alignments`.
bool splitAlignment(std::string_view value, std::initializer_list<std::string_view> alignments,
                    std::string_view& main) {
  const std::size_t comma = value.find(',');
  main = value.substr(0, comma);
  if (comma == std::string_view::npos) return true;
  const std::string_view alignment = value.substr(comma + 1);
  for (const std::string_view allowed : alignments) {
    if (alignment == allowed) return true;
  }
  return false;
}

class SettingsReader {
 public:
  VttCueSettings read(std::string_view text) {
    for (const std::string_view setting : splitOnSpaces(text)) {
      const std::size_t colon = setting.find(':');
      if (colon == std::string_view::npos || colon == 0 || colon + 1 == setting.size() ||
          !apply(setting.substr(0, colon), setting.substr(colon + 1))) {
        result_.ignored.push_back("cue setting \"" + std::string(setting) +
                                  "\" is not one WebVTT defines; ignored");
      }
    }
    if (column_ || row_) {
      const int row = row_.value_or(Row::Bottom) == Row::Bottom ? 1 : row_ == Row::Middle ? 4 : 7;
      const Column column = column_.value_or(Column::Centre);
      result_.alignment = row + (column == Column::Left ? 0 : column == Column::Centre ? 1 : 2);
    }
    return std::move(result_);
  }

 private:
  // Answers false when `value` is not one WebVTT allows for `name`.
  bool apply(std::string_view name, std::string_view value) {
    if (name == "align") return align(value);
    if (name == "line") return line(value);
    if (name == "position") {
      std::string_view main;
      return splitAlignment(value, {"line-left", "center", "line-right"}, main) &&
             (main == "auto" || percentage(main));
    }
    if (name == "size") return percentage(value).has_value();
    if (name == "vertical") return value == "rl" || value == "lr";
    return name == "region";  // names a region, which is not laid out
  }

  bool align(std::string_view value) {
    if (value == "start" || value == "left") column_ = Column::Left;
    else if (value == "center" || value == "middle") column_ = Column::Centre;
    else if (value == "end" || value == "right") column_ = Column::Right;
    else return false;
    return true;
  }

  bool line(std::string_view value) {
    std::string_view main;
    if (!splitAlignment(value, {"start", "center", "end"}, main)) return false;
    if (main == "auto") {
      row_ = Row::Bottom;
    } else if (const std::optional<double> percent = percentage(main)) {
      row_ = *percent <= 100.0 / 3 ? Row::Top : *percent > 200.0 / 3 ? Row::Bottom : Row::Middle;
    } else if (const std::optional<double> number = lineNumber(main)) {
      row_ = *number < 0 ? Row::Bottom : Row::Top;
    } else {
      return false;
    }
    return true;
  }

  VttCueSettings result_;
  std::optional<Column> column_;
  std::optional<Row> row_;
};

}  // namespace

VttCueSettings parseVttCueSettings(std::string_view text) { return SettingsReader().read(text); }

}  // namespace QuillRender
