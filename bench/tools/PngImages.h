#pragma once
// The images quill-render writes, for timing and counting PNG encoders on them, and the
// encoders weighed against the tool's own.
#include <cstdio>
#include <vector>

#include "tools/PngFile.h"
#include "tools/RgbaImage.h"

namespace QuillBench {

/// The first 200 events of the ordinary corpus, rendered through the component at 1080p
/// and turned to straight RGBA as the tool turns them; made on first use.
const std::vector<QuillRender::RgbaImage>& subtitleImages();

/// The first 20 of them laid over a grey 1920 x 1080 frame, as --frames writes them.
const std::vector<QuillRender::RgbaImage>& frameImages();

/// The tool's encoder with `encoding`.
bool encodeWithLibpng(std::FILE* stream, const QuillRender::RgbaImage& image,
                      const QuillRender::PngEncoding& encoding);

/// What the tool wrote with before: libpng's simplified writer, all defaults.
bool encodeSimplified(std::FILE* stream, const QuillRender::RgbaImage& image);

/// libspng with zlib's `level` and `strategy` and its filter choice bits `filter`.
bool encodeWithLibspng(std::FILE* stream, const QuillRender::RgbaImage& image, int level,
                       int strategy, int filter);

}  // namespace QuillBench
