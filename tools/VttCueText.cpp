#include "tools/VttCueText.h"

#include <cstdint>
#include <vector>

#include "tools/Utf16.h"

namespace QuillRender {
namespace {

constexpr const char* kLessThanStandIn = "\xE2\x80\xB9";  // U+2039

struct NamedReference {
  std::string_view name;
  const char* utf8;
};

// The references WebVTT files use; any other name stays as written.
constexpr NamedReference kNamedReferences[] = {
    {"amp", "&"},         {"lt", "<"},              {"gt", ">"},
    {"quot", "\""},       {"apos", "'"},            {"nbsp", "\xC2\xA0"},
    {"lrm", "\xE2\x80\x8E"}, {"rlm", "\xE2\x80\x8F"},
};

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

// "&#65;" or "&#x41;" at the front of `text` (after the "&"): the UTF-8 of the character,
// and the bytes taken. Zero, surrogates and values beyond Unicode become U+FFFD, as in HTML.
bool numericReference(std::string_view text, std::string& utf8, std::size_t& length) {
  if (text.size() < 2 || text[0] != '#') return false;
  const bool hex = text[1] == 'x' || text[1] == 'X';
  std::size_t i = hex ? 2 : 1;
  const std::size_t first = i;
  std::uint32_t value = 0;
  for (; i < text.size() && (hex ? isHexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9')); ++i) {
    if (value <= 0x10FFFF) value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digitValue(text[i]));
  }
  if (i == first || i >= text.size() || text[i] != ';') return false;
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) value = 0xFFFD;
  utf8.clear();
  appendUtf8(utf8, value);
  length = i + 1;
  return true;
}

// A character reference at the front of `text` (after the "&"); false when it is none.
bool characterReference(std::string_view text, std::string& utf8, std::size_t& length) {
  if (numericReference(text, utf8, length)) return true;
  for (const NamedReference& reference : kNamedReferences) {
    const std::size_t size = reference.name.size();
    if (text.size() > size && text.substr(0, size) == reference.name && text[size] == ';') {
      utf8 = reference.utf8;
      length = size + 1;
      return true;
    }
  }
  return false;
}

bool isTagBreak(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == '.' || c == '>';
}

// The cue's open elements: a closing tag closes the innermost one only when it names it,
// as WebVTT's tree builder does, so that the component's tags always close in order.
class Converter {
 public:
  explicit Converter(CueMarkup markup) : markup_(markup) {}

  void text(std::string_view piece) {
    if (insideAnnotation()) return;
    for (const char c : piece) appendCharacter(c);
  }

  void startTag(std::string_view name) {
    open_.emplace_back(name);
    if (isStyle(name)) out_ += "<" + std::string(name) + ">";
  }

  void endTag(std::string_view name) {
    // Closing a ruby closes the annotation still open inside it.
    if (name == "ruby" && !open_.empty() && open_.back() == "rt") close();
    if (!open_.empty() && open_.back() == name) close();
  }

  std::string finish() {
    while (!open_.empty()) close();
    return std::move(out_);
  }

 private:
  static bool isStyle(std::string_view name) { return name == "b" || name == "i" || name == "u"; }

  // Bytes of the cue's text, which may be markup to the layout: written so that it is not.
  void appendCharacter(char c) {
    if (markup_ == CueMarkup::Classic) {
      out_ += c == '<' ? kLessThanStandIn : std::string_view(&c, 1);
      return;
    }
    switch (c) {
      case '&': out_ += "&amp;"; break;
      case '<': out_ += "&lt;"; break;
      case '>': out_ += "&gt;"; break;
      case '{': out_ += "&#123;"; break;
      case '\\': out_ += "&#92;"; break;
      default: out_ += c;
    }
  }

  bool insideAnnotation() const {
    for (const std::string& name : open_) {
      if (name == "rt") return true;
    }
    return false;
  }

  void close() {
    if (isStyle(open_.back())) out_ += "</" + open_.back() + ">";
    open_.pop_back();
  }

  const CueMarkup markup_;
  std::string out_;
  std::vector<std::string> open_;
};

// Names WebVTT gives meaning to; any other start tag is dropped with nothing opened.
bool isKnownTag(std::string_view name) {
  for (const char* known : {"b", "i", "u", "c", "v", "lang", "ruby", "rt"}) {
    if (name == known) return true;
  }
  return false;
}

}  // namespace

std::string vttCueTextToMarkup(std::string_view text, CueMarkup markup) {
  Converter converter(markup);
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '&') {
      std::string decoded;
      std::size_t length = 0;
      if (characterReference(text.substr(i + 1), decoded, length)) {
        converter.text(decoded);
        i += 1 + length;
      } else {
        converter.text("&");
        ++i;
      }
      continue;
    }
    if (c != '<') {
      const std::size_t next = text.find_first_of("&<", i);
      const std::size_t end = next == std::string_view::npos ? text.size() : next;
      converter.text(text.substr(i, end - i));
      i = end;
      continue;
    }
    const std::size_t close = text.find('>', i);
    const std::size_t end = close == std::string_view::npos ? text.size() : close;
    const std::string_view tag = text.substr(i + 1, end - i - 1);
    i = close == std::string_view::npos ? text.size() : close + 1;
    const bool closing = !tag.empty() && tag.front() == '/';
    const std::string_view body = closing ? tag.substr(1) : tag;
    std::size_t nameLength = 0;
    while (nameLength < body.size() && !isTagBreak(body[nameLength])) ++nameLength;
    const std::string_view name = body.substr(0, nameLength);
    if (closing) {
      converter.endTag(name);
    } else if (isKnownTag(name)) {
      converter.startTag(name);
    }
    // Anything else (a timestamp "<00:01.500>", an unknown tag) is dropped.
  }
  return converter.finish();
}

}  // namespace QuillRender
