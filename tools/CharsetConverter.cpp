#include "tools/CharsetConverter.h"

#include <iconv.h>

#include <cerrno>

namespace QuillRender {
namespace {

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

  Conversion convert(std::string_view bytes) {
    Conversion result;
    char* in = const_cast<char*>(bytes.data());  // iconv's signature; it does not write
    std::size_t inLeft = bytes.size();
    char chunk[4096];
    while (inLeft > 0) {
      char* out = chunk;
      std::size_t outLeft = sizeof chunk;
      const std::size_t converted = iconv(handle_, &in, &inLeft, &out, &outLeft);
      const int fault = errno;
      result.utf8.append(chunk, static_cast<std::size_t>(out - chunk));
      if (converted == static_cast<std::size_t>(-1) && fault != E2BIG) {
        result.badOffset = bytes.size() - inLeft;
        result.truncated = fault == EINVAL;
        return result;
      }
    }
    char* out = chunk;
    std::size_t outLeft = sizeof chunk;
    iconv(handle_, nullptr, nullptr, &out, &outLeft);  // flush any shift state
    result.utf8.append(chunk, static_cast<std::size_t>(out - chunk));
    result.ok = true;
    return result;
  }

 private:
  iconv_t handle_;
};

}  // namespace

std::optional<Conversion> convertToUtf8(std::string_view bytes, const std::string& charset) {
  Converter converter(charset);
  if (!converter.valid()) return std::nullopt;
  return converter.convert(bytes);
}

}  // namespace QuillRender
