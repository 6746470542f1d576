#include "text/TextRenderer.h"

#include <cstring>
#include <limits>

#include "log/Logger.h"
#include "text/FaceResolver.h"
#include "text/Layout.h"
#include "text/MarkupScanner.h"

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

}  // namespace

std::unique_ptr<TextRenderer> TextRenderer::create(const FontSource& source,
                                                   const BaseStyle& style,
                                                   const FaceCacheCallbacks* faceCacheTable,
                                                   void* userData) {
  const bool hasPath = given(source.path);
  const bool hasBytes = given(source.bytes, source.byteCount);
  const bool hasFamily = given(source.family);
  if (hasBytes ? (hasPath || hasFamily) : !(hasPath || hasFamily)) return nullptr;

  StyleNode base;
  base.font = makeRecord(source, style.bold, style.italic);
  base.size = boundPixelSize(style.pixelSize);
  base.underline = style.underline;
  base.strikeOut = style.strikeOut;
  base.overrideEmbeddedFont = style.overrideEmbeddedFont;
  base.fillColour = Colour::fromMemory(style.fillColour);
  base.outlineColour = Colour::fromMemory(style.outlineColour);
  base.overrideEmbeddedColour = style.overrideEmbeddedColour;
  auto context = RenderContext::create(std::move(base), faceCacheTable, userData);
  if (!context || !resolveFace(*context, *context->styles.base().font)) return nullptr;
  applyPixelSize(context->styles.base());
  return std::unique_ptr<TextRenderer>(new TextRenderer(std::move(context)));
}

bool TextRenderer::replaceBaseFont(const FontSource& source, std::uint8_t bold,
                                   std::uint8_t italic, std::uint8_t underline,
                                   std::uint8_t strikeOut, std::uint8_t overrideEmbeddedFont) {
  StyleNode& base = context->styles.base();
  base.overrideEmbeddedFont = overrideEmbeddedFont;
  if (given(source.family) == given(source.bytes, source.byteCount)) return false;
  auto record = makeRecord(source, bold, italic);
  if (!resolveFace(*context, *record)) return false;
  record->face->setPixelSize(base.size);
  const std::shared_ptr<FontRecord> old = base.font;
  for (std::size_t i = 0; i < context->styles.depth(); ++i) {
    StyleNode& node = context->styles.at(i);
    if (node.font != old) continue;
    node.font = record;
    node.underline = underline;
    node.strikeOut = strikeOut;
  }
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
  const std::int32_t size = boundPixelSize(pixelSize);
  StyleNode& base = context->styles.base();
  for (std::size_t i = 1; i < context->styles.depth(); ++i) {
    StyleNode& node = context->styles.at(i);
    if (node.font == base.font && node.size == base.size) node.size = size;
  }
  base.size = size;
  applyPixelSize(base);
}

void TextRenderer::setColours(std::uint32_t fillColour, std::uint32_t outlineColour,
                              std::uint8_t overrideEmbeddedColour) {
  StyleNode& base = context->styles.base();
  base.fillColour = Colour::fromMemory(fillColour);
  base.outlineColour = Colour::fromMemory(outlineColour);
  base.overrideEmbeddedColour = overrideEmbeddedColour;
}

void TextRenderer::setCaching(std::size_t glyphCacheBytes, bool shareFaces) {
  context->glyphs.reset(glyphCacheBytes);
  context->faces.reset(shareFaces);
}

bool TextRenderer::renderSubtitle(std::uint32_t pixelFormat, const char* text,
                                  std::size_t byteLength, std::uint32_t maxWidth,
                                  std::uint32_t maxHeight, std::uint32_t* width,
                                  std::uint32_t* height, std::uint32_t* xOffset,
                                  std::uint32_t* yOffset, std::uint32_t* stride,
                                  AllocateBufferCallback allocateBuffer, void* allocatorData) {
  if (!context || width == nullptr || height == nullptr || xOffset == nullptr ||
      yOffset == nullptr || stride == nullptr || allocateBuffer == nullptr) {
    return false;
  }
  if (!loadText(*context, text, byteLength)) return false;
  std::uint32_t canvasWidth = 0;
  std::uint32_t canvasHeight = 0;
  if (!canvasSize(maxWidth, canvasWidth) || !canvasSize(maxHeight, canvasHeight)) return false;
  *width = canvasWidth;
  *height = canvasHeight;
  std::uint8_t* buffer = nullptr;
  std::size_t bufferLength = 0;
  if (!allocateBuffer(canvasWidth, canvasHeight, 1, &buffer, &bufferLength, stride,
                      allocatorData)) {
    return false;
  }
  if (!bufferHoldsCanvas(buffer, bufferLength, *stride, canvasWidth, canvasHeight)) return false;
  std::memset(buffer, 0, bufferLength);

  const Canvas canvas{buffer, canvasWidth, canvasHeight, *stride};
  const DrawnBox box = layOutText(*context, pixelFormat, maxWidth, maxHeight, canvas);
  if (box.drawn) {
    *xOffset = box.xMin;
    *yOffset = box.yMin;
    *width = box.xMax - box.xMin + 1;
    *height = box.yMax - box.yMin + 1;
  } else {
    // Nothing drawn: an empty box rather than one computed from the starting edges.
    *xOffset = *yOffset = *width = *height = 0;
  }
  Logger::write(Logger::instance(), "Text", "TextRenderer::renderSubtitle", 1828,
                "orbTR_renderSubtitle: xMin: %u xMax: %u yMin: %u yMax: %u\n"
                "    xOffset: %u yOffset: %u width: %u height: %u stride: %u\n"
                "    maxWidth: %u maxHeight: %u",
                box.xMin, box.xMax, box.yMin, box.yMax, *xOffset, *yOffset, *width, *height,
                *stride, maxWidth, maxHeight);
  return true;
}

namespace {

std::unique_ptr<TextRendererInterface> createFrom(
    const FontSource& source, std::int32_t pixelSize, std::uint8_t bold, std::uint8_t italic,
    std::uint8_t underline, std::uint8_t strikeOut, std::uint8_t overrideEmbeddedFont,
    std::uint32_t fillColour, std::uint32_t outlineColour, std::uint8_t overrideEmbeddedColour,
    const FaceCacheCallbacks* faceCacheTable, void* userData) {
  const BaseStyle style{pixelSize,     bold,        italic,        underline,
                        strikeOut,     overrideEmbeddedFont,       fillColour,
                        outlineColour, overrideEmbeddedColour};
  return TextRenderer::create(source, style, faceCacheTable, userData);
}

}  // namespace

std::unique_ptr<TextRendererInterface> createTextRenderer(
    const char* family, std::int32_t pixelSize, std::uint8_t bold, std::uint8_t italic,
    std::uint8_t underline, std::uint8_t strikeOut, std::uint8_t overrideEmbeddedFont,
    std::uint32_t fillColour, std::uint32_t outlineColour, std::uint8_t overrideEmbeddedColour,
    const FaceCacheCallbacks* faceCacheTable, void* userData) {
  return createFrom(FontSource{nullptr, nullptr, 0, family}, pixelSize, bold, italic, underline,
                    strikeOut, overrideEmbeddedFont, fillColour, outlineColour,
                    overrideEmbeddedColour, faceCacheTable, userData);
}

std::unique_ptr<TextRendererInterface> createTextRendererFromFile(
    const char* path, const char* family, std::int32_t pixelSize, std::uint8_t bold,
    std::uint8_t italic, std::uint8_t underline, std::uint8_t strikeOut,
    std::uint8_t overrideEmbeddedFont, std::uint32_t fillColour, std::uint32_t outlineColour,
    std::uint8_t overrideEmbeddedColour, const FaceCacheCallbacks* faceCacheTable,
    void* userData) {
  return createFrom(FontSource{path, nullptr, 0, family}, pixelSize, bold, italic, underline,
                    strikeOut, overrideEmbeddedFont, fillColour, outlineColour,
                    overrideEmbeddedColour, faceCacheTable, userData);
}

std::unique_ptr<TextRendererInterface> createTextRendererFromMemory(
    const std::uint8_t* fontBytes, std::size_t byteCount, const char* family,
    std::int32_t pixelSize, std::uint8_t bold, std::uint8_t italic, std::uint8_t underline,
    std::uint8_t strikeOut, std::uint8_t overrideEmbeddedFont, std::uint32_t fillColour,
    std::uint32_t outlineColour, std::uint8_t overrideEmbeddedColour,
    const FaceCacheCallbacks* faceCacheTable, void* userData) {
  return createFrom(FontSource{nullptr, fontBytes, byteCount, family}, pixelSize, bold, italic,
                    underline, strikeOut, overrideEmbeddedFont, fillColour, outlineColour,
                    overrideEmbeddedColour, faceCacheTable, userData);
}

}  // namespace Orb
