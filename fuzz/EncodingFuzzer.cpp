// Any bytes through the subtitle decoder, as the render command meets files of unknown
// origin: a byte-order mark, valid UTF-8, or detection with uchardet and conversion with
// iconv, or, steered by the first byte, a character set named as --charset would. What
// comes out must be valid UTF-8 without a NUL or a mark, said to be in a named set by a
// named source; a refusal must say where and why and give no text; and valid UTF-8 with
// no mark must come through untouched.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "fuzz/ReferenceUtf.h"
#include "tools/TextDecoder.h"

namespace {

using QuillFuzz::require;

// The first byte picks: no charset (detection) most of the time, else one of these.
constexpr const char* kGivenCharsets[] = {"WINDOWS-1251", "UTF-16", "UTF-16LE", "UTF-32BE",
                                          "SHIFT_JIS", "ISO-2022-JP", "GB18030", "UTF-8"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t choice = data[0];
  const std::string charset = choice < std::size(kGivenCharsets) ? kGivenCharsets[choice] : "";
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const QuillRender::DecodedText decoded = QuillRender::decodeSubtitleText(bytes, charset);
  if (!decoded.ok) {
    require(decoded.utf8.empty() && !decoded.error.empty(), "a refusal says why and gives no text");
    require(QuillFuzz::referenceDecodeUtf8(decoded.error).has_value(), "the message is UTF-8");
    return 0;
  }
  require(QuillFuzz::referenceDecodeUtf8(decoded.utf8).has_value(), "decoded text is valid UTF-8");
  require(decoded.utf8.find('\0') == std::string::npos, "no NUL gets through");
  require(decoded.utf8.compare(0, 3, "\xEF\xBB\xBF") != 0, "the mark is dropped");
  require(!decoded.charset.empty(), "the set read is named");
  require(charset.empty() || decoded.source == QuillRender::EncodingSource::Given,
          "a given set is the one used");
  const bool plainUtf8 = charset.empty() && QuillFuzz::referenceDecodeUtf8(std::string(bytes)) &&
                         bytes.compare(0, 3, "\xEF\xBB\xBF") != 0 &&
                         bytes.compare(0, 2, "\xFF\xFE") != 0 && bytes.compare(0, 2, "\xFE\xFF") != 0 &&
                         bytes.compare(0, 4, std::string_view("\0\0\xFE\xFF", 4)) != 0;
  if (plainUtf8) require(decoded.utf8 == bytes, "UTF-8 without a mark comes through untouched");
  return 0;
}
