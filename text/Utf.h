#pragma once
// Strict conversions between UTF-8 and UTF-32. Subtitles and family names come from files
// and hosts we do not control, so anything that is not well-formed Unicode is refused as a
// whole rather than patched up: a refused subtitle shows nothing instead of garbage.
#include <cstddef>
#include <string>
#include <vector>

namespace Orb {

/// Decodes `byteLength` bytes of UTF-8 into `codePoints` (replacing its contents).
/// Refuses overlong forms, surrogates, values above U+10FFFF, stray or missing
/// continuation bytes and sequences cut off by the end; on refusal `codePoints` is empty.
bool decodeUtf8(const char* utf8, std::size_t byteLength, std::vector<char32_t>& codePoints);

/// Encodes `count` code points as UTF-8 into `utf8` (replacing its contents). Refuses
/// surrogates and values above U+10FFFF; on refusal `utf8` is empty.
bool encodeUtf8(const char32_t* codePoints, std::size_t count, std::string& utf8);

}  // namespace Orb
