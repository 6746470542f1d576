#pragma once
// What the subtitle component sees of the text renderer. The operations keep a fixed
// order (the component calls them by slot), the destructor last.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "text/FaceLookup.h"
#include "text/LaidOutText.h"

namespace Orb {

/// Supplies the canvas of one render: at least `height` rows of `*stride` pixels of 4
/// bytes, for `width` × `height` pixels of `planes` (always 1) plane. Reports the buffer,
/// its length in bytes and its row stride in pixels; answers false to refuse. The buffer
/// stays the caller's: the renderer writes into it and never frees it.
using AllocateBufferCallback = bool (*)(std::uint32_t width, std::uint32_t height,
                                        std::uint32_t planes, std::uint8_t** buffer,
                                        std::size_t* byteLength, std::uint32_t* stride,
                                        void* allocatorData);

/// Colours are four bytes in memory order red, green, blue and one that is ignored.
/// Flags are 0 or 1.
class TextRendererInterface {
 public:
  /// Replaces the base font by `family` in the given style, looked up through the face
  /// cache. Stores `overrideEmbeddedFont` first, even when the font then cannot be found.
  /// Styles pushed by markup that used the old base font follow it and take `underline`
  /// and `strikeOut`. False (base font unchanged) when no face is found or `family` is
  /// null or empty.
  virtual bool setFont(const char* family, std::uint8_t bold, std::uint8_t italic,
                       std::uint8_t underline, std::uint8_t strikeOut,
                       std::uint8_t overrideEmbeddedFont) = 0;

  /// As setFont, with the font file given as bytes (copied); `family` must then be null.
  virtual bool setFontFromMemory(const std::uint8_t* fontBytes, std::size_t byteCount,
                                 const char* family, std::uint8_t bold, std::uint8_t italic,
                                 std::uint8_t underline, std::uint8_t strikeOut,
                                 std::uint8_t overrideEmbeddedFont) = 0;

  /// Sets the base pixel size (kept within 1..1024), and that of pushed styles that had
  /// the base font at the base size.
  virtual void setFontSize(std::int32_t pixelSize) = 0;

  /// Sets the base style's body and outline colours and whether markup colours are ignored.
  virtual void setColours(std::uint32_t fillColour, std::uint32_t outlineColour,
                          std::uint8_t overrideEmbeddedColour) = 0;

  /// Renders one subtitle (`byteLength` bytes of UTF-8 with markup, not necessarily
  /// 0-terminated) laid out in a maxWidth × maxHeight area. The canvas comes from
  /// `allocateBuffer` in byte order `pixelFormat` (0 "RGBA", 1 "ARGB", 2 "BGRA", 3 "ABGR")
  /// and is cleared first (the classic engine clears the whole buffer, the full engine the
  /// canvas's rows). The classic engine's canvas is 1.5 times the area; the full
  /// engine wraps lines at maxWidth and its canvas is as large as the text, no wider than
  /// 1.5 × maxWidth and no taller than maxHeight. On true, the drawn pixels are the
  /// `*width` × `*height` rectangle at (`*xOffset`, `*yOffset`) of the buffer, whose rows
  /// are `*stride` pixels apart; when nothing was drawn all four are 0.
  /// False, outputs untouched, when an output or the callback is missing or the text is
  /// empty or not well-formed UTF-8. False after setting `*width` and `*height` to the
  /// requested canvas when the callback refuses or returns a buffer too small for it.
  virtual bool renderSubtitle(std::uint32_t pixelFormat, const char* text, std::size_t byteLength,
                              std::uint32_t maxWidth, std::uint32_t maxHeight,
                              std::uint32_t* width, std::uint32_t* height,
                              std::uint32_t* xOffset, std::uint32_t* yOffset,
                              std::uint32_t* stride, AllocateBufferCallback allocateBuffer,
                              void* allocatorData) = 0;

  virtual ~TextRendererInterface() = default;

  /// Chooses the layout engine for the renders that follow (a new renderer has the classic
  /// one) and the placement, 1..9 as on a keypad, whose column the full engine aligns each
  /// line by (left, centre, right). An alignment outside 1..9 keeps the current one.
  virtual void setLayout(LayoutEngine engine, std::uint32_t alignment) = 0;

  /// What the last render that answered true laid out: the box to place and the lines.
  /// Empty before the first and after a render that answered false.
  virtual const LaidOutText& lastLayout() const = 0;
};

/// A renderer whose base font is `family` found through `lookup` (not owned; it must
/// outlive the renderer; null finds nothing). Null when no face is found.
std::unique_ptr<TextRendererInterface> createTextRenderer(
    const char* family, std::int32_t pixelSize, std::uint8_t bold, std::uint8_t italic,
    std::uint8_t underline, std::uint8_t strikeOut, std::uint8_t overrideEmbeddedFont,
    std::uint32_t fillColour, std::uint32_t outlineColour, std::uint8_t overrideEmbeddedColour,
    FaceLookup* lookup);

/// A renderer drawing with the font file at `path`. With a `family` as well, the face of
/// that family and style inside the file is taken, else the lookup is asked for the
/// family. Null when no face is found.
std::unique_ptr<TextRendererInterface> createTextRendererFromFile(
    const char* path, const char* family, std::int32_t pixelSize, std::uint8_t bold,
    std::uint8_t italic, std::uint8_t underline, std::uint8_t strikeOut,
    std::uint8_t overrideEmbeddedFont, std::uint32_t fillColour, std::uint32_t outlineColour,
    std::uint8_t overrideEmbeddedColour, FaceLookup* lookup);

/// A renderer drawing with a copy of the font file `fontBytes`; `family` must be null.
/// Null when the bytes hold no usable face.
std::unique_ptr<TextRendererInterface> createTextRendererFromMemory(
    const std::uint8_t* fontBytes, std::size_t byteCount, const char* family,
    std::int32_t pixelSize, std::uint8_t bold, std::uint8_t italic, std::uint8_t underline,
    std::uint8_t strikeOut, std::uint8_t overrideEmbeddedFont, std::uint32_t fillColour,
    std::uint32_t outlineColour, std::uint8_t overrideEmbeddedColour, FaceLookup* lookup);

}  // namespace Orb
