#include "text/MarkupTag.h"

namespace Orb {

namespace {

bool isBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == U'\f';
}

bool isLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }

bool isNameCharacter(char32_t c) {
  return isLetter(c) || (c >= U'0' && c <= U'9') || c == U'_' || c == U'-' || c == U':' ||
         c == U'.';
}

bool isKeyCharacter(char32_t c) {
  return !isBlank(c) && c != U'"' && c != U'\'' && c != U'=' && c != U'<' && c != U'>' &&
         c != U'/';
}

bool isUnquotedValueCharacter(char32_t c) {
  return !isBlank(c) && c != U'"' && c != U'\'' && c != U'=' && c != U'<' && c != U'>' &&
         c != U'`';
}

class TagReader {
 public:
  TagReader(std::u32string_view source, std::size_t open) : text(source), at(open + 1) {}

  bool read(MarkupTag& tag) {
    tag.attributes.clear();
    tag.closing = take(U'/');
    const std::size_t nameBegin = at;
    if (at >= text.size() || !isLetter(text[at])) return false;
    while (at < text.size() && isNameCharacter(text[at])) ++at;
    tag.name = text.substr(nameBegin, at - nameBegin);
    for (;;) {
      const bool blank = skipBlanks();
      if (at >= text.size()) return false;
      if (take(U'>')) break;
      if (take(U'/')) {
        if (!take(U'>')) return false;
        tag.selfClosing = !tag.closing;
        break;
      }
      if (!blank) return false;  // attributes stand apart from the name and each other
      MarkupAttribute attribute;
      if (!readAttribute(attribute)) return false;
      if (tag.attributes.size() < MarkupTag::kMaxAttributes) tag.attributes.push_back(attribute);
    }
    tag.end = at;
    return true;
  }

 private:
  bool take(char32_t c) {
    if (at < text.size() && text[at] == c) {
      ++at;
      return true;
    }
    return false;
  }

  bool skipBlanks() {
    const std::size_t from = at;
    while (at < text.size() && isBlank(text[at])) ++at;
    return at > from;
  }

  bool readAttribute(MarkupAttribute& attribute) {
    const std::size_t keyBegin = at;
    while (at < text.size() && isKeyCharacter(text[at])) ++at;
    if (at == keyBegin) return false;
    attribute.key = text.substr(keyBegin, at - keyBegin);
    const std::size_t afterKey = at;
    skipBlanks();
    if (!take(U'=')) {
      at = afterKey;  // a key alone; the blanks belong to what follows
      return true;
    }
    skipBlanks();
    if (at >= text.size()) return false;
    const char32_t quote = text[at];
    if (quote == U'"' || quote == U'\'') {
      const std::size_t close = text.find(quote, at + 1);
      if (close == std::u32string_view::npos) return false;
      attribute.value = text.substr(at + 1, close - at - 1);
      at = close + 1;
      return true;
    }
    const std::size_t valueBegin = at;
    while (at < text.size() && isUnquotedValueCharacter(text[at])) ++at;
    if (at == valueBegin) return false;
    attribute.value = text.substr(valueBegin, at - valueBegin);
    return true;
  }

  std::u32string_view text;
  std::size_t at;
};

}  // namespace

bool readMarkupTag(std::u32string_view text, std::size_t open, MarkupTag& tag) {
  tag.selfClosing = false;
  return TagReader(text, open).read(tag);
}

bool sameName(std::u32string_view name, std::string_view lowerAscii) {
  if (name.size() != lowerAscii.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char32_t c = name[i];
    if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
    if (c != static_cast<unsigned char>(lowerAscii[i])) return false;
  }
  return true;
}

}  // namespace Orb
