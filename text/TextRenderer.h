#pragma once
// The text renderer behind TextRendererInterface. It owns what lasts between subtitles (the
// FreeType library, the open faces, the glyph images, the base style) and runs each
// subtitle through the stages of the text pipeline: decoding, markup, face resolution,
// layout and compositing, each handing plain data to the next. Not thread-safe; the owner
// serialises every call.
#include <memory>
#include <string_view>

#include "text/FacePool.h"
#include "text/FontRecord.h"
#include "text/FreeTypeHandles.h"
#include "text/FullLayout.h"
#include "text/GlyphSource.h"
#include "text/StyledText.h"
#include "text/TextRendererInterface.h"

namespace Orb {

/// Where the base font comes from at creation. Pointers are borrowed for the call.
struct FontSource {
  const char* path = nullptr;
  const std::uint8_t* bytes = nullptr;
  std::size_t byteCount = 0;
  const char* family = nullptr;
};

/// The base style at creation.
struct BaseStyle {
  std::int32_t pixelSize = 22;
  std::uint8_t bold = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t overrideEmbeddedFont = 0;
  std::uint32_t fillColour = 0;
  std::uint32_t outlineColour = 0;
  std::uint8_t overrideEmbeddedColour = 0;
};

/// The outputs and allocation callback of one renderSubtitle call, for the engine that
/// asks for the canvas.
struct CanvasRequest {
  std::uint32_t* width;
  std::uint32_t* height;
  std::uint32_t* xOffset;
  std::uint32_t* yOffset;
  std::uint32_t* stride;
  AllocateBufferCallback allocateBuffer;
  void* allocatorData;

  /// Asks for a canvas of `canvasWidth` × `canvasHeight` (reported as the width and
  /// height results first) and clears the whole buffer, or with `rowsOnly` just the rows
  /// of the canvas; false when it is refused or too small.
  bool allocate(std::uint32_t canvasWidth, std::uint32_t canvasHeight, Canvas& canvas,
                bool rowsOnly = false) const;
};

class TextRenderer final : public TextRendererInterface {
 public:
  /// A renderer whose base font is resolved, or null. Accepts exactly one of a path, a
  /// non-empty byte block or a family, or a path with a family (the family then selects a
  /// face inside the file before the lookup is asked).
  static std::unique_ptr<TextRenderer> create(const FontSource& source, const BaseStyle& style,
                                              FaceLookup* lookup);

  bool setFont(const char* family, std::uint8_t bold, std::uint8_t italic,
               std::uint8_t underline, std::uint8_t strikeOut,
               std::uint8_t overrideEmbeddedFont) override;
  bool setFontFromMemory(const std::uint8_t* fontBytes, std::size_t byteCount,
                         const char* family, std::uint8_t bold, std::uint8_t italic,
                         std::uint8_t underline, std::uint8_t strikeOut,
                         std::uint8_t overrideEmbeddedFont) override;
  void setFontSize(std::int32_t pixelSize) override;
  void setColours(std::uint32_t fillColour, std::uint32_t outlineColour,
                  std::uint8_t overrideEmbeddedColour) override;
  bool renderSubtitle(std::uint32_t pixelFormat, const char* text, std::size_t byteLength,
                      std::uint32_t maxWidth, std::uint32_t maxHeight, std::uint32_t* width,
                      std::uint32_t* height, std::uint32_t* xOffset, std::uint32_t* yOffset,
                      std::uint32_t* stride, AllocateBufferCallback allocateBuffer,
                      void* allocatorData) override;
  ~TextRenderer() override = default;
  void setLayout(LayoutEngine engine, std::uint32_t alignment) override;
  const LaidOutText& lastLayout() const override { return laidOut; }

  /// Sets what the renderer keeps between glyphs and subtitles and empties it (faces in
  /// use stay open). `glyphCacheBytes` 0 keeps no glyph images nor shaped words, and
  /// `shareFaces` false opens a face for every font record: what a renderer without caches
  /// does, which tests and benchmarks compare against. A new renderer keeps
  /// GlyphCache::kDefaultBudget bytes of glyphs and shaped words, and shares faces.
  void setCaching(std::size_t glyphCacheBytes, bool shareFaces);

  /// Hits, misses and size of the glyph cache, for benchmarks and tests.
  const GlyphCacheCounters& glyphCacheCounters() const { return glyphs.cache().counters(); }

  /// Faces open now, in use or kept for later subtitles.
  std::size_t openFaces() const { return faces.openFaces(); }

 private:
  explicit TextRenderer(FaceLookup* lookup);
  bool replaceBaseFont(const FontSource& source, std::uint8_t bold, std::uint8_t italic,
                       std::uint8_t underline, std::uint8_t strikeOut,
                       std::uint8_t overrideEmbeddedFont);
  /// Reads `text` with the full engine's markup, sizes scaled to a frame `frameHeight` tall.
  StyledText readFullMarkup(std::u32string_view text, std::uint32_t frameHeight) const;
  /// Lays out and draws with the classic engine into a canvas of 1.5 × the area.
  bool renderClassic(const StyledText& styled, const ResolvedFonts& fonts,
                     std::uint32_t pixelFormat, std::uint32_t maxWidth, std::uint32_t maxHeight,
                     const CanvasRequest& request);
  /// Lays out and draws with the full engine into a canvas as large as the text.
  bool renderFull(const StyledText& styled, const ResolvedFonts& fonts, std::uint32_t pixelFormat,
                  std::uint32_t maxWidth, std::uint32_t maxHeight, const CanvasRequest& request);

  FreeTypeLibrary library;  // first: whatever holds a face goes before it
  FacePool faces;
  GlyphSource glyphs;
  FaceLookup* const lookup;  // not owned; may be null
  std::shared_ptr<const FontRecord> baseFont;  // always has a face
  MarkupBase base;  // the base style; its font is request 0, baseFont
  LayoutEngine engine = LayoutEngine::Classic;
  std::uint32_t alignment = kBottomCentre;
  std::unique_ptr<FullLayoutEngine> full;  // made at the first full render
  bool keepShapedWords = true;
  LaidOutText laidOut;                     // of the last render that succeeded
};

}  // namespace Orb
