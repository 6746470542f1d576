#include "gstreamer/QuillMarkup.h"

#include <glib.h>

#include <cstdlib>
#include <vector>

namespace QuillGst {
namespace {

// What the component shows for a "<" of the text.
constexpr const char* kLessThanSign = "\u2039";

void appendCharacter(std::string& out, gunichar character) {
  if (character == '<') {
    out += kLessThanSign;
    return;
  }
  char bytes[6];
  out.append(bytes, static_cast<std::size_t>(g_unichar_to_utf8(character, bytes)));
}

void appendText(std::string& out, std::string_view text) {
  for (const char c : text) {
    if (c == '<') {
      out += kLessThanSign;
    } else {
      out += c;
    }
  }
}

// The character an entity at the start of `text` ("&...;") stands for, and its length;
// length 0 when it is not one.
gunichar decodeEntity(std::string_view text, std::size_t& length) {
  length = 0;
  const std::size_t end = text.find(';');
  if (end == std::string_view::npos || end < 2 || end > 10) return 0;
  const std::string name(text.substr(1, end - 1));
  gunichar character = 0;
  if (name == "amp") character = '&';
  else if (name == "lt") character = '<';
  else if (name == "gt") character = '>';
  else if (name == "quot") character = '"';
  else if (name == "apos") character = '\'';
  else if (name[0] == '#') {
    const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
    const char* digits = name.c_str() + (hex ? 2 : 1);
    char* stop = nullptr;
    const unsigned long value = std::strtoul(digits, &stop, hex ? 16 : 10);
    if (*digits == '\0' || *stop != '\0' || value == 0 || !g_unichar_validate(value)) return 0;
    character = static_cast<gunichar>(value);
  } else {
    return 0;
  }
  length = end + 1;
  return character;
}

// "#RGB", "#RRGGBB" or "#RRRRGGGGBBBB" (Pango's hex forms) as "#RRGGBB"; empty otherwise.
std::string hexColour(const std::string& value) {
  const std::size_t digits = value.size() - 1;
  if (value.empty() || value[0] != '#' || (digits != 3 && digits != 6 && digits != 12)) return {};
  for (std::size_t i = 1; i < value.size(); ++i) {
    if (!g_ascii_isxdigit(value[i])) return {};
  }
  const std::size_t perChannel = digits / 3;
  std::string colour = "#";
  for (std::size_t channel = 0; channel < 3; ++channel) {
    const char high = value[1 + channel * perChannel];
    colour += high;
    colour += perChannel == 1 ? high : value[2 + channel * perChannel];
  }
  return colour;
}

// One tag of the markup: its name, whether it closes, and its attributes.
struct Tag {
  std::string name;
  bool closing = false;
  std::vector<std::pair<std::string, std::string>> attributes;
};

// Parses the inside of "<...>"; false when it is not a well-formed tag.
bool parseTag(std::string_view inside, Tag& tag) {
  std::size_t at = 0;
  if (at < inside.size() && inside[at] == '/') {
    tag.closing = true;
    ++at;
  }
  const std::size_t nameStart = at;
  while (at < inside.size() && (g_ascii_isalnum(inside[at]) || inside[at] == '_')) ++at;
  tag.name.assign(inside.substr(nameStart, at - nameStart));
  if (tag.name.empty()) return false;
  while (true) {
    while (at < inside.size() && g_ascii_isspace(inside[at])) ++at;
    if (at == inside.size() || (inside[at] == '/' && at + 1 == inside.size())) return true;
    const std::size_t keyStart = at;
    while (at < inside.size() && inside[at] != '=' && !g_ascii_isspace(inside[at])) ++at;
    std::string key(inside.substr(keyStart, at - keyStart));
    while (at < inside.size() && g_ascii_isspace(inside[at])) ++at;
    if (at == inside.size() || inside[at] != '=') return false;
    ++at;
    while (at < inside.size() && g_ascii_isspace(inside[at])) ++at;
    if (at == inside.size() || (inside[at] != '"' && inside[at] != '\'')) return false;
    const char quote = inside[at++];
    const std::size_t valueEnd = inside.find(quote, at);
    if (valueEnd == std::string_view::npos) return false;
    tag.attributes.emplace_back(std::move(key), std::string(inside.substr(at, valueEnd - at)));
    at = valueEnd + 1;
  }
}

// The component's tags a span's attributes stand for, in the order they are opened.
std::vector<std::string> spanTags(const Tag& span) {
  std::vector<std::string> opened;
  for (const auto& [key, value] : span.attributes) {
    if (key == "foreground" || key == "fgcolor" || key == "color") {
      const std::string colour = hexColour(value);
      if (!colour.empty()) opened.push_back("font color=\"" + colour + "\"");
    } else if (key == "weight") {
      const int number = std::atoi(value.c_str());
      if (value == "bold" || value == "ultrabold" || value == "heavy" || value == "ultraheavy" ||
          number >= 600) {
        opened.push_back("b");
      }
    } else if (key == "style" && (value == "italic" || value == "oblique")) {
      opened.push_back("i");
    } else if (key == "underline" && value != "none") {
      opened.push_back("u");
    } else if (key == "strikethrough" && value == "true") {
      opened.push_back("s");
    }
  }
  return opened;
}

}  // namespace

std::string quillMarkupFromPlainText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendText(out, text);
  return out;
}

std::string quillMarkupFromPango(std::string_view markup) {
  std::string out;
  out.reserve(markup.size());
  std::vector<std::vector<std::string>> open;  // the component's tags each element opened
  std::size_t at = 0;
  while (at < markup.size()) {
    const char c = markup[at];
    if (c == '&') {
      std::size_t length = 0;
      const gunichar character = decodeEntity(markup.substr(at), length);
      if (length > 0) {
        appendCharacter(out, character);
        at += length;
        continue;
      }
    } else if (c == '<') {
      const std::size_t end = markup.find('>', at);
      Tag tag;
      if (end != std::string_view::npos && parseTag(markup.substr(at + 1, end - at - 1), tag)) {
        at = end + 1;
        if (tag.closing) {
          if (open.empty()) continue;
          for (auto name = open.back().rbegin(); name != open.back().rend(); ++name) {
            out += "</" + name->substr(0, name->find(' ')) + ">";
          }
          open.pop_back();
          continue;
        }
        if (markup[end - 1] == '/') continue;  // an empty element styles nothing
        std::vector<std::string> opened;
        if (tag.name == "b" || tag.name == "i" || tag.name == "u" || tag.name == "s") {
          opened.push_back(tag.name);
        } else if (tag.name == "span") {
          opened = spanTags(tag);
        }
        for (const std::string& name : opened) out += "<" + name + ">";
        open.push_back(std::move(opened));
        continue;
      }
    }
    appendText(out, markup.substr(at, 1));
    ++at;
  }
  return out;
}

}  // namespace QuillGst
