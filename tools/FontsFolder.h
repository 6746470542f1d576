#pragma once
// Which folder the component's face cache scans. The component asks the platform layer,
// which reads QUILL_FONTS_DIR, so the tool chooses by setting that variable before the
// component is made.
#include <string>

namespace QuillRender {

/// The fonts the set-up script installs, gathered (as links) into a folder of the tool's
/// own when the platform's fonts folder holds no fonts, so that a fresh machine renders
/// with no option at all, in the scripts the default font lacks too (the full layout takes
/// a face that has a character the subtitle's font lacks). Only the regular-weight
/// families go in: the face cache takes the first face of a family and style it finds,
/// and the installed folder also holds an extra-light face under the very family name
/// the tool uses by default.
constexpr const char* kFallbackFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Oblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-BoldOblique.ttf",
    "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
    "/usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansArabic-Bold.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansHebrew-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansHebrew-Bold.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansDevanagari-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansDevanagari-Bold.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansThai-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansThai-Bold.ttf",
};

/// The tool's own fonts folder: `userDataFolder()` + "/quill-render/fonts".
std::string fallbackFontsFolder();

/// Decides the fonts folder and sets QUILL_FONTS_DIR when the choice differs from what
/// the platform layer would answer. In order: `requested` (--fonts-dir; it must be a
/// folder), a QUILL_FONTS_DIR already set, the platform's fonts folder when it holds a
/// font file, the tool's own folder (links to the installed files of kFallbackFontFiles
/// are added to it when missing) when it then holds a font, else the platform's folder.
/// Answers the folder, or empty with `error` set when `requested` is not a folder.
std::string chooseFontsFolder(const std::string& requested, std::string& error);

}  // namespace QuillRender
