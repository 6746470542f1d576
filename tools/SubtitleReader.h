#pragma once
// The whole road from the bytes of a subtitle file to its events: decoding to UTF-8,
// then reading the blocks of its format. This is the one entry the command-line host and
// the fuzz targets use, so that all see exactly the same behaviour.
#include <string>
#include <string_view>

#include "tools/SubtitleDocument.h"
#include "tools/TextDecoder.h"
#include "tools/VttCueText.h"

namespace QuillRender {

enum class SubtitleFormat { Srt, WebVtt };

struct SubtitleReadResult {
  DecodedText decoding;       ///< when `decoding.ok` is false nothing was read
  SubtitleDocument document;  ///< the events, the skipped blocks and the warnings
};

/// Decodes `bytes` (see decodeSubtitleText for `charset`) and parses the text as `format`,
/// a WebVTT cue's text written in `markup` (an SRT file's text is markup already).
SubtitleReadResult readSubtitleFile(std::string_view bytes, SubtitleFormat format, CueMarkup markup,
                                    const std::string& charset = std::string());

}  // namespace QuillRender
