#pragma once
// The tool's conversions between Unicode encoding forms: UTF-8 to UTF-16, for handing
// subtitles to the component as wide text ("WSTR"), and code points to UTF-8, for the
// character references of subtitle text.
#include <cstdint>
#include <string>
#include <string_view>

namespace QuillRender {

/// `utf8` in UTF-16 (native byte order, surrogate pairs above U+FFFF). The text must
/// be valid UTF-8 (see isValidUtf8); an ill-formed sequence becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);

/// Appends `codePoint` to `utf8`; the caller passes a scalar value (no surrogate, at most
/// U+10FFFF).
void appendUtf8(std::string& utf8, std::uint32_t codePoint);

}  // namespace QuillRender
