#pragma once
// The byte-order marks that name a Unicode encoding form at the start of a file.
#include <cstddef>
#include <optional>
#include <string_view>

namespace QuillRender {

struct ByteOrderMark {
  const char* charset;  ///< the iconv name of the encoding it announces, e.g. "UTF-16LE"
  std::size_t length;   ///< bytes the mark takes
};

/// The mark `bytes` starts with, if any. A UTF-32 little-endian mark begins like the
/// UTF-16 one and wins: a UTF-16 file opening with U+0000 is no subtitle.
std::optional<ByteOrderMark> findByteOrderMark(std::string_view bytes);

}  // namespace QuillRender
