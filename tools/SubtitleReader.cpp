#include "tools/SubtitleReader.h"

#include "tools/SrtParser.h"
#include "tools/VttParser.h"

namespace QuillRender {

SubtitleReadResult readSubtitleFile(std::string_view bytes, SubtitleFormat format, CueMarkup markup,
                                    const std::string& charset) {
  SubtitleReadResult result;
  result.decoding = decodeSubtitleText(bytes, charset);
  if (!result.decoding.ok) return result;
  result.document = format == SubtitleFormat::WebVtt ? parseVtt(result.decoding.utf8, markup)
                                                     : parseSrt(result.decoding.utf8);
  return result;
}

}  // namespace QuillRender
