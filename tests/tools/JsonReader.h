#pragma once
// Just enough of a JSON reader for tests to look inside the manifests the tool writes.
#include <map>
#include <string>
#include <vector>

namespace QuillRender {

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
