#pragma once
// Subtitle text as GStreamer carries it (text/x-raw, format utf8 or pango-markup) turned
// into the component's markup, which knows <b>, <i>, <u>, <s> and <font color="#RRGGBB">,
// has no character entities, and reads every "<" as the start of a tag.
#include <string>
#include <string_view>

namespace QuillGst {

/// Plain UTF-8 text: every character shown as it is. A "<" becomes U+2039 (‹), the
/// nearest sign the component can show, since it would otherwise open a tag and hide
/// what follows.
std::string quillMarkupFromPlainText(std::string_view text);

/// Pango markup: <b> <i> <u> <s> stay; <span> becomes the tags its foreground, weight,
/// style, underline and strikethrough attributes stand for (a colour as
/// <font color="#RRGGBB">); its closing tag closes exactly those. Other elements are
/// dropped, keeping their text. Entities (&amp; &lt; &gt; &quot; &apos; &#N; &#xN;) are
/// decoded, with "<" shown as in quillMarkupFromPlainText. Malformed markup (a "<" that
/// never closes, an unknown entity) is kept as text.
std::string quillMarkupFromPango(std::string_view markup);

}  // namespace QuillGst
