#pragma once
// Conversions between the module's UTF-8 byte strings and the UTF-16 text that file
// systems and wide-character subtitles use. A failed conversion answers an empty string,
// which callers cannot tell from an empty input. Both stop at an encoded U+0000, since
// their results travel on as zero-terminated text.
#include <string>

namespace kttl {

/// UTF-16 text, one unsigned 16-bit unit per element.
using Utf16String = std::u16string;

/// Strict UTF-8 to UTF-16: any ill-formed or truncated sequence (bad lead or continuation
/// byte, over-long form, encoded surrogate, value above U+10FFFF) gives an empty result.
Utf16String ToUtf16(const std::string& text);

/// Lenient UTF-16 to UTF-8: surrogate pairs give one four-byte sequence, a surrogate
/// standing alone is written as the three-byte form of its own value; a high surrogate
/// as the very last unit gives an empty result.
std::string ToUtf8(const Utf16String& text);

}  // namespace kttl
