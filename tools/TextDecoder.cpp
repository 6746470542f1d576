#include "tools/TextDecoder.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace QuillRender {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::size_t lineAt(std::string_view text, std::size_t offset) {
  return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

DecodedText failure(std::size_t line, std::string error) {
  DecodedText result;
  result.badLine = line;
  result.error = std::move(error);
  return result;
}

DecodedText success(std::string utf8) {
  if (startsWith(utf8, kUtf8Mark)) utf8.erase(0, kUtf8Mark.size());
  const std::size_t nul = utf8.find('\0');
  if (nul != std::string::npos) {
    return failure(lineAt(utf8, nul),
                   "contains a NUL character; a UTF-16 file without a byte-order mark needs "
                   "--charset UTF-16LE or --charset UTF-16BE");
  }
  DecodedText result;
  result.ok = true;
  result.utf8 = std::move(utf8);
  return result;
}

// Owns one iconv conversion descriptor.
class Converter {
 public:
  explicit Converter(const std::string& from) : handle_(iconv_open("UTF-8", from.c_str())) {}
  ~Converter() {
    if (valid()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `bytes`; on a bad or truncated sequence answers false with `output`
  // holding what was converted before it.
  bool convert(std::string_view bytes, std::string& output) {
    char* in = const_cast<char*>(bytes.data());  // iconv's signature; it does not write
    std::size_t inLeft = bytes.size();
    char chunk[4096];
    while (inLeft > 0) {
      char* out = chunk;
      std::size_t outLeft = sizeof chunk;
      const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
      output.append(chunk, static_cast<std::size_t>(out - chunk));
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    char* out = chunk;
    std::size_t outLeft = sizeof chunk;
    iconv(handle_, nullptr, nullptr, &out, &outLeft);  // flush any shift state
    output.append(chunk, static_cast<std::size_t>(out - chunk));
    return true;
  }

 private:
  iconv_t handle_;
};

DecodedText convertFrom(const std::string& charset, std::string_view bytes, const char* hint) {
  Converter converter(charset);
  if (!converter.valid()) return failure(0, "unknown character set '" + charset + "'");
  std::string utf8;
  if (!converter.convert(bytes, utf8)) {
    return failure(lineAt(utf8, utf8.size()),
                   "is not valid " + charset + " text" + std::string(hint));
  }
  return success(std::move(utf8));
}

}  // namespace

bool isValidUtf8(std::string_view text, std::size_t* badOffset) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    const unsigned char lead = bytes[i];
    std::size_t extra = 0;
    std::uint32_t codePoint = 0;
    std::uint32_t smallest = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, codePoint = lead & 0x1Fu, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, codePoint = lead & 0x0Fu, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, codePoint = lead & 0x07u, smallest = 0x10000;
    } else {
      break;
    }
    if (size - i <= extra) break;
    std::size_t k = 1;
    for (; k <= extra && (bytes[i + k] & 0xC0) == 0x80; ++k) {
      codePoint = (codePoint << 6) | (bytes[i + k] & 0x3Fu);
    }
    if (k <= extra || codePoint < smallest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
      break;
    }
    i += extra + 1;
  }
  if (i == size) return true;
  if (badOffset) *badOffset = i;
  return false;
}

DecodedText decodeSubtitleText(std::string_view bytes, const std::string& charset) {
  if (!charset.empty()) return convertFrom(charset, bytes, "");
  if (startsWith(bytes, kUtf16LittleMark)) {
    return convertFrom("UTF-16LE", bytes.substr(2), " (it starts with a UTF-16 byte-order mark)");
  }
  if (startsWith(bytes, kUtf16BigMark)) {
    return convertFrom("UTF-16BE", bytes.substr(2), " (it starts with a UTF-16 byte-order mark)");
  }
  std::size_t bad = 0;
  if (!isValidUtf8(bytes, &bad)) {
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(bytes[bad]));
    return failure(lineAt(bytes, bad),
                   "is not valid UTF-8 (byte " + std::string(byte) +
                       "); if the file uses another encoding, name it with --charset, "
                       "for example --charset WINDOWS-1252");
  }
  return success(std::string(bytes));
}

}  // namespace QuillRender
