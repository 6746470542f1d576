#include "tools/SrtReader.h"

namespace QuillRender {

SrtReadResult readSrt(std::string_view bytes, const std::string& charset) {
  SrtReadResult result;
  result.decoding = decodeSubtitleText(bytes, charset);
  if (result.decoding.ok) result.document = parseSrt(result.decoding.utf8);
  return result;
}

}  // namespace QuillRender
