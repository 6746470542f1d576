#pragma once
// Reading an input file (subtitles, a font) whole, refusing what is not a regular file
// or is far larger than such a file can be, before any of it is held in memory.
#include <cstdint>
#include <string>

namespace QuillRender {

/// Largest subtitle file read: a film's is a few hundred KiB.
constexpr std::uint64_t kMaxSubtitleFileBytes = 64ull << 20;
/// Largest font file read: the largest CJK collections are a few tens of MiB.
constexpr std::uint64_t kMaxFontFileBytes = 256ull << 20;

/// Reads all of `path` into `bytes`; false with a one-line `error` (naming the path) when
/// it cannot be read, is not a regular file or holds more than `maxBytes`.
bool readInputFile(const std::string& path, std::uint64_t maxBytes, std::string& bytes,
                   std::string& error);

}  // namespace QuillRender
