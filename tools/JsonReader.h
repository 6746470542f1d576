#pragma once
// Just enough of a JSON reader to look inside the manifests the tool writes: by the tool,
// to find what an earlier run wrote, and by its tests. Any text is safe to give it: it
// refuses, rather than recurses without end into, values nested more than 64 deep.
#include <map>
#include <string>
#include <vector>

namespace QuillRender {

/// One JSON value; only the member for its type is meaningful.
struct Json {
  enum class Type { Null, Boolean, Number, String, Array, Object };

  Type type = Type::Null;
  bool boolean = false;
  double number = 0.0;
  std::string string;
  std::vector<Json> array;
  std::map<std::string, Json> object;

  bool isNull() const { return type == Type::Null; }
  bool has(const std::string& key) const { return object.count(key) != 0; }
  /// The member `key`; a null value when there is none.
  const Json& operator[](const std::string& key) const;
  const Json& operator[](std::size_t index) const { return array.at(index); }
};

/// Parses `text`; false (with `error`) when it is not one well-formed JSON value.
bool parseJson(const std::string& text, Json& value, std::string& error);

}  // namespace QuillRender
