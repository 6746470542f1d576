#pragma once
// UTF-8 to UTF-16, for handing subtitles to the component as wide text ("WSTR").
#include <string>
#include <string_view>

namespace QuillRender {

/// `utf8` in UTF-16 (native byte order, surrogate pairs above U+FFFF). The text must
/// be valid UTF-8 (see isValidUtf8); an ill-formed sequence becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);

}  // namespace QuillRender
