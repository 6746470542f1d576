#pragma once
// Which folder the component's face cache scans. The component asks the platform layer,
// which reads QUILL_FONTS_DIR, so the tool chooses by setting that variable before the
// component is made.
#include <string>

namespace QuillRender {

/// Where the fonts the set-up script installs live; the fallback when the platform's
/// fonts folder holds no fonts, so that a fresh machine renders with no option at all.
constexpr const char* kFallbackFontsFolder = "/usr/share/fonts/truetype/dejavu";

/// Decides the fonts folder and sets QUILL_FONTS_DIR when the choice differs from what
/// the platform layer would answer. In order: `requested` (--fonts-dir; it must be a
/// folder), a QUILL_FONTS_DIR already set, the platform's fonts folder when it holds a
/// font file, the fallback folder when it exists, else the platform's folder as it is.
/// Answers the folder, or empty with `error` set when `requested` is not a folder.
std::string chooseFontsFolder(const std::string& requested, std::string& error);

}  // namespace QuillRender
