#pragma once
// One HTML-like tag of subtitle markup, read only when it is well formed, so that a "<"
// that starts no tag ("a < b", "<3") stays text. The grammar is HTML's, kept small:
//   "<" ["/"] name (blank+ attribute)* blank* ["/"] ">"
//   name       a letter, then letters, digits, "_", "-", ":" or "."
//   attribute  key [blank* "=" blank* value], a value quoted with '"' or "'" (anything but
//              that quote inside) or unquoted (no blank, quote, "=", "<", ">" or "`")
// Blanks are space, tab, line feed, carriage return and form feed. No part but a quoted
// value may hold "<", so reading a tag never runs past the next "<" outside quotes, and
// reading every "<" of a text costs time linear in the text.
#include <cstddef>
#include <string_view>
#include <vector>

namespace Orb {

struct MarkupAttribute {
  std::u32string_view key;
  std::u32string_view value;  ///< without its quotes; empty when the key stands alone
};

struct MarkupTag {
  /// Attributes kept per tag at most; later ones are read (for the form) and dropped.
  static constexpr std::size_t kMaxAttributes = 16;

  bool closing = false;      ///< "</name>"
  bool selfClosing = false;  ///< "<name/>"
  std::u32string_view name;  ///< as written
  std::vector<MarkupAttribute> attributes;
  std::size_t end = 0;  ///< one past the ">"
};

/// Reads the tag whose "<" is at `open` of `text` into `tag` (views into `text`); false,
/// `tag` then undefined, when no well-formed tag starts there.
bool readMarkupTag(std::u32string_view text, std::size_t open, MarkupTag& tag);

/// Whether `name` is `lowerAscii` (lower-case ASCII), ignoring ASCII letter case.
bool sameName(std::u32string_view name, std::string_view lowerAscii);

}  // namespace Orb
