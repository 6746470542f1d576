#pragma once
// The whole road from the bytes of a subtitle file to its events: decoding to UTF-8,
// then reading the blocks. This is the one entry the command-line host and the fuzz
// target use, so that both see exactly the same behaviour.
#include <string>
#include <string_view>

#include "tools/SrtParser.h"
#include "tools/TextDecoder.h"

namespace QuillRender {

struct SrtReadResult {
  DecodedText decoding;   ///< when `decoding.ok` is false nothing was read
  SrtDocument document;   ///< the events and the skipped blocks
};

/// Decodes `bytes` (see decodeSubtitleText for `charset`) and parses the text.
SrtReadResult readSrt(std::string_view bytes, const std::string& charset = std::string());

}  // namespace QuillRender
