#include "tools/ByteOrderMark.h"

namespace QuillRender {
namespace {

struct KnownMark {
  std::string_view bytes;
  const char* charset;
};

// Longest first, so that UTF-32LE is found before the UTF-16LE mark it starts with.
constexpr KnownMark kMarks[] = {
    {std::string_view("\xFF\xFE\x00\x00", 4), "UTF-32LE"},
    {std::string_view("\x00\x00\xFE\xFF", 4), "UTF-32BE"},
    {"\xEF\xBB\xBF", "UTF-8"},
    {"\xFF\xFE", "UTF-16LE"},
    {"\xFE\xFF", "UTF-16BE"},
};

}  // namespace

std::optional<ByteOrderMark> findByteOrderMark(std::string_view bytes) {
  for (const KnownMark& mark : kMarks) {
    if (bytes.substr(0, mark.bytes.size()) == mark.bytes) {
      return ByteOrderMark{mark.charset, mark.bytes.size()};
    }
  }
  return std::nullopt;
}

}  // namespace QuillRender
