#pragma once
// A second, deliberately different reading of the Unicode encoding forms, for the UTF
// fuzz target to compare the production conversions with. The production decoders
// reject by lead-byte tables; this one gathers the bits a lead byte announces and then
// asks whether the value could have been written that way.
#include <optional>
#include <string>

namespace QuillFuzz {

/// The code points of well-formed UTF-8, or nothing for any ill-formed or cut-off input.
std::optional<std::u32string> referenceDecodeUtf8(const std::string& bytes);

/// UTF-8 of code points, or nothing when one is a surrogate or above U+10FFFF.
std::optional<std::string> referenceEncodeUtf8(const std::u32string& codePoints);

/// UTF-16 of code points that are all scalar values.
std::u16string referenceEncodeUtf16(const std::u32string& codePoints);

/// The lenient reading of UTF-16: pairs combine, any other surrogate stands for itself;
/// nothing when the text ends on a high surrogate.
std::optional<std::u32string> referenceDecodeUtf16Leniently(const std::u16string& units);

/// UTF-8 of any values up to U+10FFFF, surrogates included (as three bytes).
std::string referenceEncodeUtf8Leniently(const std::u32string& values);

}  // namespace QuillFuzz
