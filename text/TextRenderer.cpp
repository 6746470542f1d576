#include "text/TextRenderer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "log/Logger.h"
#include "text/ClassicLayout.h"
#include "text/ClassicMarkup.h"
#include "text/FaceResolver.h"
#include "text/FontFallback.h"
#include "text/FontResolution.h"
#include "text/ForgivingMarkup.h"
#include "text/FullDrawing.h"
#include "text/PixelSize.h"
#include "text/Utf.h"

namespace Orb {

namespace {

bool given(const char* text) { return text != nullptr && *text != '\0'; }
bool given(const std::uint8_t* bytes, std::size_t count) { return bytes != nullptr && count > 0; }

std::shared_ptr<FontRecord> makeRecord(const FontSource& source, std::uint8_t bold,
                                       std::uint8_t italic) {
  auto record = std::make_shared<FontRecord>();
  if (given(source.family)) record->family = source.family;
  if (given(source.path)) record->path = source.path;
  if (given(source.bytes, source.byteCount)) {
    auto data = std::make_shared<FontData>();
    data->bytes.assign(source.bytes, source.bytes + source.byteCount);
    record->data = std::move(data);
  }
  record->bold = bold;
  record->italic = italic;
  return record;
}

// The canvas is 1.5 times the text area; false when that does not fit 32 bits.
bool canvasSize(std::uint32_t maxSize, std::uint32_t& canvas) {
  const std::uint64_t size = std::uint64_t{maxSize} + maxSize / 2;
  if (size > std::numeric_limits<std::uint32_t>::max()) return false;
  canvas = static_cast<std::uint32_t>(size);
  return true;
}

// The buffer the callback answered must hold the canvas at the stride it reported.
bool bufferHoldsCanvas(const std::uint8_t* buffer, std::size_t byteLength, std::uint32_t stride,
                       std::uint32_t width, std::uint32_t height) {
  if (buffer == nullptr || stride < width) return false;
  const std::size_t rowBytes = static_cast<std::size_t>(stride) * 4;
  if (rowBytes / 4 != stride) return false;
  if (height != 0 && rowBytes > std::numeric_limits<std::size_t>::max() / height) return false;
  return byteLength >= rowBytes * height;
}

// The subtitle's code points up to the first U+0000 (held in `decoded`); empty when it is
// not well-formed UTF-8.
std::u32string_view decodeSubtitle(const char* utf8, std::size_t byteLength,
                                   std::vector<char32_t>& decoded) {
  if (!decodeUtf8(utf8, byteLength, decoded)) return {};
  const auto end = std::find(decoded.begin(), decoded.end(), U'\0');
  return std::u32string_view(decoded.data(), static_cast<std::size_t>(end - decoded.begin()));
}

}  // namespace

TextRenderer::TextRenderer(FaceLookup* faceLookup)
    : glyphs(library.handle()), lookup(faceLookup) {}

std::unique_ptr<TextRenderer> TextRenderer::create(const FontSource& source,
                                                   const BaseStyle& style, FaceLookup* lookup) {
  const bool hasPath = given(source.path);
  const bool hasBytes = given(source.bytes, source.byteCount);
  const bool hasFamily = given(source.family);
  if (hasBytes ? (hasPath || hasFamily) : !(hasPath || hasFamily)) return nullptr;

  std::unique_ptr<TextRenderer> renderer(new TextRenderer(lookup));
  if (renderer->library.handle() == nullptr || !renderer->glyphs.ready()) return nullptr;
  auto record = makeRecord(source, style.bold, style.italic);
  FaceResolver resolver(renderer->library.handle(), renderer->faces, lookup);
  if (!resolver.resolve(*record)) return nullptr;
  renderer->baseFont = std::move(record);
  TextStyle& base = renderer->base.style;
  base.size = boundPixelSize(style.pixelSize);
  base.underline = style.underline;
  base.strikeOut = style.strikeOut;
  base.fill = Colour::fromMemory(style.fillColour);
  base.outline = Colour::fromMemory(style.outlineColour);
  renderer->base.overrideEmbeddedFont = style.overrideEmbeddedFont != 0;
  renderer->base.overrideEmbeddedColour = style.overrideEmbeddedColour != 0;
  return renderer;
}

bool TextRenderer::replaceBaseFont(const FontSource& source, std::uint8_t bold,
                                   std::uint8_t italic, std::uint8_t underline,
                                   std::uint8_t strikeOut, std::uint8_t overrideEmbeddedFont) {
  base.overrideEmbeddedFont = overrideEmbeddedFont != 0;
  if (given(source.family) == given(source.bytes, source.byteCount)) return false;
  auto record = makeRecord(source, bold, italic);
  FaceResolver resolver(library.handle(), faces, lookup);
  if (!resolver.resolve(*record)) return false;
  baseFont = std::move(record);
  base.style.underline = underline;
  base.style.strikeOut = strikeOut;
  return true;
}

bool TextRenderer::setFont(const char* family, std::uint8_t bold, std::uint8_t italic,
                           std::uint8_t underline, std::uint8_t strikeOut,
                           std::uint8_t overrideEmbeddedFont) {
  return replaceBaseFont(FontSource{nullptr, nullptr, 0, family}, bold, italic, underline,
                         strikeOut, overrideEmbeddedFont);
}

bool TextRenderer::setFontFromMemory(const std::uint8_t* fontBytes, std::size_t byteCount,
                                     const char* family, std::uint8_t bold, std::uint8_t italic,
                                     std::uint8_t underline, std::uint8_t strikeOut,
                                     std::uint8_t overrideEmbeddedFont) {
  return replaceBaseFont(FontSource{nullptr, fontBytes, byteCount, family}, bold, italic,
                         underline, strikeOut, overrideEmbeddedFont);
}

void TextRenderer::setFontSize(std::int32_t pixelSize) {
  base.style.size = boundPixelSize(pixelSize);
}

void TextRenderer::setColours(std::uint32_t fillColour, std::uint32_t outlineColour,
                              std::uint8_t overrideEmbeddedColour) {
  base.style.fill = Colour::fromMemory(fillColour);
  base.style.outline = Colour::fromMemory(outlineColour);
  base.overrideEmbeddedColour = overrideEmbeddedColour != 0;
}

void TextRenderer::setCaching(std::size_t glyphCacheBytes, bool shareFaces) {
  glyphs.resetCache(glyphCacheBytes);
  faces.reset(shareFaces);
  keepShapedWords = glyphCacheBytes != 0;
  if (full) full->keepShapedWords(keepShapedWords);
}

void TextRenderer::setLayout(LayoutEngine layoutEngine, std::uint32_t placement) {
  if (layoutEngine == LayoutEngine::Classic || layoutEngine == LayoutEngine::Full) {
    engine = layoutEngine;
  }
  if (isAlignment(placement)) alignment = placement;
}

bool CanvasRequest::allocate(std::uint32_t canvasWidth, std::uint32_t canvasHeight,
                             Canvas& canvas, bool rowsOnly) const {
  *width = canvasWidth;
  *height = canvasHeight;
  std::uint8_t* buffer = nullptr;
  std::size_t bufferLength = 0;
  if (!allocateBuffer(canvasWidth, canvasHeight, 1, &buffer, &bufferLength, stride,
                      allocatorData)) {
    return false;
  }
  if (!bufferHoldsCanvas(buffer, bufferLength, *stride, canvasWidth, canvasHeight)) return false;
  std::memset(buffer, 0, rowsOnly ? std::size_t{*stride} * 4 * canvasHeight : bufferLength);
  canvas = Canvas{buffer, canvasWidth, canvasHeight, *stride};
  return true;
}

bool TextRenderer::renderSubtitle(std::uint32_t pixelFormat, const char* text,
                                  std::size_t byteLength, std::uint32_t maxWidth,
                                  std::uint32_t maxHeight, std::uint32_t* width,
                                  std::uint32_t* height, std::uint32_t* xOffset,
                                  std::uint32_t* yOffset, std::uint32_t* stride,
                                  AllocateBufferCallback allocateBuffer, void* allocatorData) {
  laidOut = LaidOutText{};
  if (width == nullptr || height == nullptr || xOffset == nullptr || yOffset == nullptr ||
      stride == nullptr || allocateBuffer == nullptr) {
    return false;
  }
  std::vector<char32_t> codePoints;
  const std::u32string_view decoded = decodeSubtitle(text, byteLength, codePoints);
  if (decoded.empty()) return false;
  const CanvasRequest request{width, height, xOffset, yOffset, stride, allocateBuffer, allocatorData};
  StyledText styled = engine == LayoutEngine::Full ? readFullMarkup(decoded, maxHeight)
                                                   : readClassicMarkup(decoded, base);
  FaceResolver resolver(library.handle(), faces, lookup);
  ResolvedFonts fonts = resolveFonts(styled.fonts, baseFont, resolver);
  if (engine == LayoutEngine::Full) {
    // A font given as a file or bytes is the first a missing character is sought in.
    applyFontFallback(styled, fonts, resolver, baseFont->hasOwnSource() ? baseFont : nullptr,
                      kFullCharacterLimit);
    return renderFull(styled, fonts, pixelFormat, maxWidth, maxHeight, request);
  }
  return renderClassic(styled, fonts, pixelFormat, maxWidth, maxHeight, request);
}

StyledText TextRenderer::readFullMarkup(std::u32string_view text, std::uint32_t frameHeight) const {
  MarkupBase markup = base;
  markup.bold = baseFont->bold != 0;
  markup.italic = baseFont->italic != 0;
  markup.frameHeight = frameHeight;
  return readForgivingMarkup(text, markup);
}

bool TextRenderer::renderClassic(const StyledText& styled, const ResolvedFonts& fonts,
                                 std::uint32_t pixelFormat, std::uint32_t maxWidth,
                                 std::uint32_t maxHeight, const CanvasRequest& request) {
  std::uint32_t canvasWidth = 0;
  std::uint32_t canvasHeight = 0;
  Canvas canvas;
  if (!canvasSize(maxWidth, canvasWidth) || !canvasSize(maxHeight, canvasHeight) ||
      !request.allocate(canvasWidth, canvasHeight, canvas)) {
    return false;
  }
  const ClassicLayout layout = layOutClassic(styled, fonts, glyphs, maxWidth, maxHeight, canvas);
  drawPlacedGlyphs(layout.glyphs, glyphs, pixelFormat, canvas);
  const DrawnBox& box = layout.box;
  if (box.drawn) {
    *request.xOffset = box.xMin;
    *request.yOffset = box.yMin;
    *request.width = box.xMax - box.xMin + 1;
    *request.height = box.yMax - box.yMin + 1;
  } else {
    // Nothing drawn: an empty box rather than one computed from the starting edges.
    *request.xOffset = *request.yOffset = *request.width = *request.height = 0;
  }
  Logger::write(Logger::instance(), "Text", "TextRenderer::renderSubtitle", 1828,
                "orbTR_renderSubtitle: xMin: %u xMax: %u yMin: %u yMax: %u\n"
                "    xOffset: %u yOffset: %u width: %u height: %u stride: %u\n"
                "    maxWidth: %u maxHeight: %u",
                box.xMin, box.xMax, box.yMin, box.yMax, *request.xOffset, *request.yOffset,
                *request.width, *request.height, *request.stride, maxWidth, maxHeight);
  laidOut = describeClassicLayout(styled, layout, *request.xOffset, *request.yOffset,
                                  *request.width, *request.height);
  laidOut.alignment = alignment;
  return true;
}

bool TextRenderer::renderFull(const StyledText& styled, const ResolvedFonts& fonts,
                              std::uint32_t pixelFormat, std::uint32_t maxWidth,
                              std::uint32_t maxHeight, const CanvasRequest& request) {
  if (!full) {
    full = std::make_unique<FullLayoutEngine>();
    full->keepShapedWords(keepShapedWords);
  }
  const FullLayout layout = full->layOut(styled, fonts, maxWidth, alignment);
  const LayoutInk ink = measureInk(layout, glyphs, maxWidth, maxHeight);
  const PixelRect window = canvasWindow(layout, ink, maxWidth, maxHeight);
  Canvas canvas;
  // A host's recycled buffer may be far larger than this canvas: only its rows are cleared.
  if (!request.allocate(static_cast<std::uint32_t>(window.right - window.left),
                        static_cast<std::uint32_t>(window.bottom - window.top), canvas, true)) {
    return false;
  }
  drawFullLayout(layout, ink, glyphs, window, pixelFormat, canvas);
  if (ink.any) {
    *request.xOffset = *request.yOffset = 0;
  } else {
    *request.xOffset = *request.yOffset = *request.width = *request.height = 0;
  }
  Logger::write(Logger::instance(), "Text", "TextRenderer::renderSubtitle", 1828,
                "full layout: %zu lines, canvas %u x %u, maxWidth: %u maxHeight: %u",
                layout.lines.size(), canvas.width, canvas.height, maxWidth, maxHeight);
  laidOut = describeFullLayout(styled, layout, ink, window);
  return true;
}

namespace {

std::unique_ptr<TextRendererInterface> createFrom(
    const FontSource& source, std::int32_t pixelSize, std::uint8_t bold, std::uint8_t italic,
    std::uint8_t underline, std::uint8_t strikeOut, std::uint8_t overrideEmbeddedFont,
    std::uint32_t fillColour, std::uint32_t outlineColour, std::uint8_t overrideEmbeddedColour,
    FaceLookup* lookup) {
  const BaseStyle style{pixelSize,     bold,        italic,        underline,
                        strikeOut,     overrideEmbeddedFont,       fillColour,
                        outlineColour, overrideEmbeddedColour};
  return TextRenderer::create(source, style, lookup);
}

}  // namespace

std::unique_ptr<TextRendererInterface> createTextRenderer(
    const char* family, std::int32_t pixelSize, std::uint8_t bold, std::uint8_t italic,
    std::uint8_t underline, std::uint8_t strikeOut, std::uint8_t overrideEmbeddedFont,
    std::uint32_t fillColour, std::uint32_t outlineColour, std::uint8_t overrideEmbeddedColour,
    FaceLookup* lookup) {
  return createFrom(FontSource{nullptr, nullptr, 0, family}, pixelSize, bold, italic, underline,
                    strikeOut, overrideEmbeddedFont, fillColour, outlineColour,
                    overrideEmbeddedColour, lookup);
}

std::unique_ptr<TextRendererInterface> createTextRendererFromFile(
    const char* path, const char* family, std::int32_t pixelSize, std::uint8_t bold,
    std::uint8_t italic, std::uint8_t underline, std::uint8_t strikeOut,
    std::uint8_t overrideEmbeddedFont, std::uint32_t fillColour, std::uint32_t outlineColour,
    std::uint8_t overrideEmbeddedColour, FaceLookup* lookup) {
  return createFrom(FontSource{path, nullptr, 0, family}, pixelSize, bold, italic, underline,
                    strikeOut, overrideEmbeddedFont, fillColour, outlineColour,
                    overrideEmbeddedColour, lookup);
}

std::unique_ptr<TextRendererInterface> createTextRendererFromMemory(
    const std::uint8_t* fontBytes, std::size_t byteCount, const char* family,
    std::int32_t pixelSize, std::uint8_t bold, std::uint8_t italic, std::uint8_t underline,
    std::uint8_t strikeOut, std::uint8_t overrideEmbeddedFont, std::uint32_t fillColour,
    std::uint32_t outlineColour, std::uint8_t overrideEmbeddedColour,
    FaceLookup* lookup) {
  return createFrom(FontSource{nullptr, fontBytes, byteCount, family}, pixelSize, bold, italic,
                    underline, strikeOut, overrideEmbeddedFont, fillColour, outlineColour,
                    overrideEmbeddedColour, lookup);
}

}  // namespace Orb
