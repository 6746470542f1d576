#pragma once
// Turns the bytes of a subtitle file into UTF-8 text before anything reads it: a
// byte-order mark picks UTF-8 or UTF-16 on its own, a named character set goes through
// iconv, and anything else must already be valid UTF-8. Nothing is ever guessed
// silently: bytes that do not decode give an error naming the line they are on.
#include <cstddef>
#include <string>
#include <string_view>

namespace QuillRender {

struct DecodedText {
  bool ok = false;
  std::string utf8;        ///< the text, without a byte-order mark; empty on failure
  std::size_t badLine = 0; ///< 1-based line of the first byte that did not decode (0: none)
  std::string error;       ///< one sentence saying what went wrong, without file or line
};

/// Decodes `bytes`. With an empty `charset`: a UTF-16 byte-order mark (either order)
/// decodes as UTF-16, otherwise the bytes must be UTF-8 (a UTF-8 mark is dropped); a
/// NUL byte counts as invalid, since it means UTF-16 without a mark far more often than
/// a subtitle that wants one. With a `charset` (any name iconv knows), the bytes are
/// converted from it and a byte-order mark it leaves is dropped.
DecodedText decodeSubtitleText(std::string_view bytes, const std::string& charset);

/// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values above
/// U+10FFFF). When it is not and `badOffset` is given, the offset of the first bad byte.
bool isValidUtf8(std::string_view text, std::size_t* badOffset = nullptr);

}  // namespace QuillRender
