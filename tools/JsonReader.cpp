#include "tools/JsonReader.h"

#include <cstdlib>
#include <cstring>

namespace QuillRender {
namespace {

constexpr int kMostNesting = 64;

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  bool document(Json& value) {
    if (!parse(value)) return false;
    skipSpace();
    return fail_if(position_ != text_.size(), "text after the value");
  }

  std::string error;

 private:
  bool fail_if(bool condition, const char* message) {
    if (condition) error = std::string(message) + " at offset " + std::to_string(position_);
    return !condition;
  }

  void skipSpace() {
    while (position_ < text_.size() && std::strchr(" \t\r\n", text_[position_])) ++position_;
  }

  bool literal(const char* word) {
    const std::size_t length = std::strlen(word);
    if (text_.compare(position_, length, word) != 0) return false;
    position_ += length;
    return true;
  }

  bool parse(Json& value) {
    skipSpace();
    if (position_ >= text_.size()) return fail_if(true, "value expected");
    const char c = text_[position_];
    if ((c == '{' || c == '[') && !fail_if(depth_ == kMostNesting, "values nested too deeply")) {
      return false;
    }
    if (c == '{') return nested([&] { return object(value); });
    if (c == '[') return nested([&] { return array(value); });
    if (c == '"') {
      value.type = Json::Type::String;
      return string(value.string);
    }
    if (literal("null")) return true;
    for (const bool truth : {true, false}) {
      if (literal(truth ? "true" : "false")) {
        value.type = Json::Type::Boolean;
        value.boolean = truth;
        return true;
      }
    }
    char* end = nullptr;
    value.number = std::strtod(text_.c_str() + position_, &end);
    const std::size_t used = static_cast<std::size_t>(end - (text_.c_str() + position_));
    position_ += used;
    value.type = Json::Type::Number;
    return fail_if(used == 0, "value expected");
  }

  bool string(std::string& out) {
    ++position_;  // opening quote
    while (position_ < text_.size() && text_[position_] != '"') {
      char c = text_[position_++];
      if (static_cast<unsigned char>(c) < 0x20) return fail_if(true, "raw control character");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (position_ >= text_.size()) break;
      c = text_[position_++];
      const char* escapes = "\"\\/bfnrt";
      const char* meanings = "\"\\/\b\f\n\r\t";
      if (const char* found = std::strchr(escapes, c); found && c) {
        out += meanings[found - escapes];
      } else if (c == 'u' && position_ + 4 <= text_.size()) {
        const unsigned code = static_cast<unsigned>(std::strtoul(text_.substr(position_, 4).c_str(), nullptr, 16));
        position_ += 4;
        if (code < 0x80) {
          out += static_cast<char>(code);
        } else if (code < 0x800) {
          out += static_cast<char>(0xC0 | (code >> 6));
          out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
          out += static_cast<char>(0xE0 | (code >> 12));
          out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
          out += static_cast<char>(0x80 | (code & 0x3F));
        }
      } else {
        return fail_if(true, "bad escape");
      }
    }
    if (!fail_if(position_ >= text_.size(), "unterminated string")) return false;
    ++position_;  // closing quote
    return true;
  }

  bool array(Json& value) {
    value.type = Json::Type::Array;
    ++position_;
    skipSpace();
    if (position_ < text_.size() && text_[position_] == ']') return ++position_, true;
    while (true) {
      value.array.emplace_back();
      if (!parse(value.array.back())) return false;
      skipSpace();
      if (position_ < text_.size() && text_[position_] == ',') {
        ++position_;
        continue;
      }
      if (!fail_if(position_ >= text_.size() || text_[position_] != ']', "',' or ']' expected"))
        return false;
      ++position_;
      return true;
    }
  }

  bool object(Json& value) {
    value.type = Json::Type::Object;
    ++position_;
    skipSpace();
    if (position_ < text_.size() && text_[position_] == '}') return ++position_, true;
    while (true) {
      skipSpace();
      std::string key;
      if (!fail_if(position_ >= text_.size() || text_[position_] != '"', "key expected") ||
          !string(key))
        return false;
      skipSpace();
      if (!fail_if(position_ >= text_.size() || text_[position_] != ':', "':' expected")) return false;
      ++position_;
      if (!fail_if(value.object.count(key) != 0, "duplicate key") || !parse(value.object[key]))
        return false;
      skipSpace();
      if (position_ < text_.size() && text_[position_] == ',') {
        ++position_;
        continue;
      }
      if (!fail_if(position_ >= text_.size() || text_[position_] != '}', "',' or '}' expected"))
        return false;
      ++position_;
      return true;
    }
  }

  template <typename Read>
  bool nested(Read read) {
    ++depth_;
    const bool ok = read();
    --depth_;
    return ok;
  }

  const std::string& text_;
  std::size_t position_ = 0;
  int depth_ = 0;
};

}  // namespace

const Json& Json::operator[](const std::string& key) const {
  static const Json none;
  const auto found = object.find(key);
  return found == object.end() ? none : found->second;
}

bool parseJson(const std::string& text, Json& value, std::string& error) {
  Parser parser(text);
  value = Json();
  const bool ok = parser.document(value);
  error = parser.error;
  return ok;
}

}  // namespace QuillRender
