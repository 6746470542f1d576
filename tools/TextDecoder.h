#pragma once
// Turns the bytes of a subtitle file into UTF-8 text before anything reads it. A named
// character set goes through iconv; otherwise a byte-order mark names a Unicode encoding
// form, text without one that is valid UTF-8 is UTF-8, and anything else is in a legacy
// character set that uchardet picks. What cannot be decoded, or decodes only to nonsense,
// is refused with the line and bytes where it went wrong and the character sets worth
// naming instead, never passed on as garbled text.
#include <cstddef>
#include <string>
#include <string_view>

namespace QuillRender {

/// How the character set of a text was settled.
enum class EncodingSource { Given, ByteOrderMark, Detected };

/// "given", "byte-order mark" or "detected", as the manifest records it.
const char* encodingSourceName(EncodingSource source);

struct DecodedText {
  bool ok = false;
  std::string utf8;        ///< the text, without a byte-order mark; empty on failure
  std::string charset;     ///< the character set read ("UTF-8", "WINDOWS-1251"), when ok
  EncodingSource source = EncodingSource::Detected;  ///< how `charset` was settled, when ok
  std::size_t badLine = 0; ///< 1-based line of the first byte that did not decode (0: none)
  std::string error;       ///< what went wrong, one sentence continuing "line N"; no file
};

/// Decodes `bytes`. A `charset` (any name iconv knows) is used whatever the bytes say; a
/// UTF-8 byte-order mark before them is dropped. Without one, a byte-order mark decides
/// (UTF-8, UTF-16 or UTF-32, either byte order); then valid UTF-8 is taken as it is; then
/// uchardet's guess is used, its Windows counterpart when the text has bytes 0x80-0x9F
/// that would be control characters in the ISO set guessed. A NUL byte in text without a
/// mark is refused, since it means UTF-16 without a mark far more often than a subtitle
/// that wants one.
DecodedText decodeSubtitleText(std::string_view bytes, const std::string& charset);

/// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values above
/// U+10FFFF). When it is not and `badOffset` is given, the offset of the first bad byte.
bool isValidUtf8(std::string_view text, std::size_t* badOffset = nullptr);

}  // namespace QuillRender
