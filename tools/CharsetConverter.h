#pragma once
// Text in any character set iconv knows, converted to UTF-8 in one pass that stops at the
// first sequence that does not decode, so that a caller can say where the text went wrong.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace QuillRender {

struct Conversion {
  bool ok = false;
  std::string utf8;           ///< all of the text when ok; what decoded before the fault otherwise
  std::size_t badOffset = 0;  ///< when not ok: offset in the input of the first bad sequence
  bool truncated = false;     ///< when not ok: the input ends inside a character
};

/// Converts `bytes` from `charset` to UTF-8; nullopt when iconv does not know `charset`.
std::optional<Conversion> convertToUtf8(std::string_view bytes, const std::string& charset);

}  // namespace QuillRender
