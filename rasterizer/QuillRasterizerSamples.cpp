#include <algorithm>
#include <cstdint>
#include <cstring>

#include "db/TextConversion.h"
#include "framework/FormatCodes.h"
#include "framework/MessageCodes.h"
#include "rasterizer/Geometry.h"
#include "rasterizer/QuillRasterizer.h"

namespace Orb {

namespace {

constexpr std::int32_t kOutputBitsPerPixel = 32;

void* pointerPayload(const PropertyValue* value) {
  return value ? value->payload.pointer : nullptr;
}

bool hasFormat(const std::string& name, const char* fourCharacters) {
  return name.compare(0, 4, fourCharacters) == 0;
}

bool isProperRectangle(const RectInt& rectangle) {
  return rectangle.left < rectangle.right && rectangle.top < rectangle.bottom;
}

// Bytes of a sample that may be read: its valid length, never more than its block.
std::uint32_t readableBytes(const MediaBuffer& buffer) { return std::min(buffer.length, buffer.size); }

// A frame size as the 32-bit field of an ImageProperties record.
std::int32_t clampedSize(std::int64_t size) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(size, 0, INT32_MAX));
}

}  // namespace

bool QuillRasterizer::deliverInput(std::uint32_t code, const PropertyValue* value) {
  switch (code) {
    case MESSAGE_SAMPLE:
      return deliverSample(static_cast<MediaBuffer*>(pointerPayload(value)));
    case MESSAGE_FONT_ATTACHMENT: {
      if (!value || value->tag != ValuePointer || !value->payload.pointer) return false;
      auto* attachment = static_cast<TypedMediaBuffer*>(value->payload.pointer);
      boost::lock_guard<HandOverMutex> guard(componentLock);
      if (attachment->word4 == FONT_ATTACHMENT_WORD4 && attachment->hasCode(SAMPLE_TYPE_FONT))
        takeFont(*attachment, &attachment->descriptor());
      return true;
    }
    case MESSAGE_FONT_NAME:
      return changeFontName(value);
    case MESSAGE_OVERRIDE_EMBEDDED_FONT:
      return changeOverride(value);
    default:
      return false;
  }
}

bool QuillRasterizer::deliverSample(MediaBuffer* sample) {
  if (!sample) return false;
  boost::lock_guard<HandOverMutex> guard(componentLock);
  if (!renderer) return false;
  if (sample->hasTypeName(SAMPLE_TYPE_FONT)) return takeFont(*sample, nullptr);
  if (sample->length == 0) {
    // An empty sample is given back at once; if it was the retained one it must not be
    // given back a second time later.
    if (retainedSample == sample) retainedSample = nullptr;
    sample->release();
    return false;
  }
  currentSample = sample;
  const RenderOutcome outcome = renderSample();
  currentSample = nullptr;
  return outcome == RenderOutcome::Delivered;
}

bool QuillRasterizer::takeFont(MediaBuffer& font, const FormatDescriptor* descriptor) {
  // The bytes are viewed, not copied: the host keeps the font alive while it is in use.
  fontBuffer.setData(font.lockData(), font.size);
  if (descriptor) {
    fontBuffer.code = descriptor->code;
    fontBuffer.word3 = descriptor->word3;
    fontBuffer.word4 = descriptor->word4;
    fontBuffer.word5 = descriptor->word5;
  }
  fontBuffer.length = font.length;
  font.unlockData();
  applySettings(true);
  return true;
}

bool QuillRasterizer::changeFontName(const PropertyValue* value) {
  if (!value || value->tag != ValueStringHandedOver || !value->payload.string) return false;
  SimpleString<char>* text = value->payload.string;
  bool changed = false;
  {
    boost::lock_guard<HandOverMutex> guard(componentLock);
    if (!renderer) return false;  // the string stays the sender's
    changed = setFontByName(std::string_view(text->c_str(), text->length()));
  }
  delete text;  // handed over: its characters go back to their own allocator
  return finishChange(changed);
}

bool QuillRasterizer::changeOverride(const PropertyValue* value) {
  if (!value || value->tag != ValueFlag) return false;
  bool changed = false;
  {
    boost::lock_guard<HandOverMutex> guard(componentLock);
    if (!renderer) return false;
    changed = setOverrideEmbeddedFont(value->isSet());
  }
  return finishChange(changed);
}

bool QuillRasterizer::finishChange(bool changed) {
  // The component lock is not held: downstream may call back into the component.
  if (changed) {
    if (PortInterface* next = downstream.load()) next->control(CONTROL_FLUSH, nullptr);
    requestRerender();
  }
  return true;
}

QuillRasterizer::RenderOutcome QuillRasterizer::renderSample() {
  takePendingFrame();
  if (!decodeAndRender()) return RenderOutcome::Failed;
  ImageBuffer* output = currentOutput;
  currentOutput = nullptr;
  // Descriptor words travel with the subtitle; a plain sample has none to give.
  if (const auto* typed = dynamic_cast<const TypedMediaBuffer*>(currentSample)) {
    output->code = typed->code;
    output->word2 = typed->word2;
  }
  PortInterface* next = downstream.load();
  if (!next) return RenderOutcome::Failed;
  if (reportLines) deliverLines(*next);
  const PropertyValue image = PropertyValue::makePointer(output);
  if (!next->deliver(MESSAGE_SAMPLE, &image)) return RenderOutcome::Refused;
  if (retainedSample != currentSample) {
    MediaBuffer* previous = retainedSample;
    retainedSample = currentSample;
    if (previous) previous->release();
  }
  return RenderOutcome::Delivered;
}

bool QuillRasterizer::hasPendingFrame() {
  boost::lock_guard<boost::mutex> guard(pendingFrameMutex);
  return isProperRectangle(pendingFrame);
}

void QuillRasterizer::takePendingFrame() {
  RectInt taken;
  {
    boost::lock_guard<boost::mutex> guard(pendingFrameMutex);
    if (!isProperRectangle(pendingFrame)) return;
    taken = pendingFrame;
    pendingFrame = RectInt();
  }
  frame = taken;
  updateGeometry();
}

std::string QuillRasterizer::sampleText() {
  std::string text;
  const bool utf8 = hasFormat(inputFormatName, INPUT_FORMAT_UTF8);
  if (!utf8 && !hasFormat(inputFormatName, INPUT_FORMAT_WSTR)) return text;
  const std::uint8_t* bytes = currentSample->lockData();
  const std::uint32_t count = bytes ? readableBytes(*currentSample) : 0;
  if (utf8) {
    text.assign(reinterpret_cast<const char*>(bytes), count);
  } else {
    // The block need not be aligned for 16-bit units. The conversion stops at a 0 unit.
    kttl::Utf16String units(count / 2, u'\0');
    if (!units.empty()) std::memcpy(units.data(), bytes, units.size() * sizeof(char16_t));
    text = kttl::ToUtf8(units);
  }
  currentSample->unlockData();
  return text;
}

bool QuillRasterizer::decodeAndRender() {
  const std::string text = sampleText();
  const std::int64_t frameWidth = inclusiveSpan(frame.left, frame.right);
  const std::int64_t frameHeight = inclusiveSpan(frame.top, frame.bottom);
  const TextArea area = layoutEngine == LayoutEngine::Full ? fullTextAreaFor(frameWidth, frameHeight)
                                                           : textAreaFor(frameWidth, frameHeight);
  std::uint32_t width = 0, height = 0, xOffset = 0, yOffset = 0, stride = 0;
  currentOutput = nullptr;
  const bool rendered = renderer->renderSubtitle(
      outputFormatIndex, text.data(), text.size(), area.maxWidth,
      area.maxHeight, &width, &height, &xOffset, &yOffset, &stride, &allocateBuffer, this);
  if (currentOutputLocked) {
    currentOutput->unlockData();
    currentOutputLocked = false;
  }
  if (!rendered || !currentOutput) {
    currentOutput = nullptr;  // a buffer taken for a failed render stays the allocator's
    return false;
  }
  ImageProperties& image = currentOutput->properties;
  // Inclusive edges one past the drawn box: the region hosts have always been given.
  image.region = RectInt(static_cast<int>(xOffset), static_cast<int>(yOffset),
                              static_cast<int>(xOffset + width), static_cast<int>(yOffset + height));
  const LaidOutText& laidOut = renderer->lastLayout();
  const PixelBox region{xOffset, yOffset, std::int64_t{xOffset} + width, std::int64_t{yOffset} + height};
  const PixelBox anchor{laidOut.anchor.left, laidOut.anchor.top, laidOut.anchor.right,
                        laidOut.anchor.bottom};
  const Placement placement =
      placementFor(frameWidth, frameHeight, region, anchor, laidOut.alignment);
  image.placement = RectFloat(placement.left, placement.top, placement.right, placement.bottom);
  keepLines(placement, frameWidth, frameHeight, region);
  return true;
}

void QuillRasterizer::keepLines(const Placement& placement, std::int64_t frameWidth,
                                std::int64_t frameHeight, const PixelBox& region) {
  const std::vector<LaidOutLine>& lines = renderer->lastLayout().lines;
  lineTexts.clear();
  lineRecords.clear();
  for (const LaidOutLine& line : lines) lineTexts.push_back(line.text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SubtitleLine record{lineTexts[i].c_str(), 0, 0, 0, 0};
    if (!lines[i].ink.empty() && region.width() > 0) {
      const TextBox& ink = lines[i].ink;
      const PixelBox box = onFrame(placement, frameWidth, frameHeight, region,
                                   PixelBox{ink.left, ink.top, ink.right, ink.bottom});
      record.left = static_cast<std::int32_t>(box.left);
      record.top = static_cast<std::int32_t>(box.top);
      record.right = static_cast<std::int32_t>(box.right);
      record.bottom = static_cast<std::int32_t>(box.bottom);
    }
    lineRecords.push_back(record);
  }
}

void QuillRasterizer::deliverLines(PortInterface& next) {
  SubtitleLines lines{static_cast<std::uint32_t>(lineRecords.size()), lineRecords.data()};
  const PropertyValue message = PropertyValue::makePointer(&lines);
  next.deliver(MESSAGE_SUBTITLE_LINES, &message);
}

bool QuillRasterizer::allocateBuffer(std::uint32_t width, std::uint32_t height,
                                     std::uint32_t planes, std::uint8_t** data,
                                     std::size_t* byteLength, std::uint32_t* stride,
                                     void* userData) {
  if (!userData) return false;
  return static_cast<QuillRasterizer*>(userData)->allocateOutput(width, height, planes, data,
                                                                 byteLength, stride);
}

bool QuillRasterizer::allocateOutput(std::uint32_t width, std::uint32_t height,
                                     std::uint32_t planes, std::uint8_t** data,
                                     std::size_t* byteLength, std::uint32_t* stride) {
  BufferAllocator* source = allocator.load();
  if (!data || !byteLength || !stride || !source) return false;
  source->setBitsPerPixel(kOutputBitsPerPixel);
  ImageBuffer* buffer = source->getBuffer(width, height, planes);
  if (!buffer) return false;
  // The renderer writes `height` rows of `stride` pixels: a buffer that cannot hold them
  // is refused before anything touches it.
  const std::int32_t rowPixels = buffer->properties.stride;
  if (rowPixels < 0 || static_cast<std::uint32_t>(rowPixels) < width ||
      buffer->size < std::uint64_t{static_cast<std::uint32_t>(rowPixels)} * 4 * height) {
    return false;
  }
  std::uint8_t* block = buffer->lockData();
  if (!block) {
    buffer->unlockData();
    return false;
  }
  currentOutput = buffer;
  currentOutputLocked = true;  // until the render ends
  // The block is not pre-filled: the renderer clears all `size` bytes once it has a buffer
  // that holds its canvas, which the checks above guarantee, so no byte of a fill would
  // ever reach a host.
  *data = block;
  *byteLength = buffer->size;
  *stride = static_cast<std::uint32_t>(rowPixels);
  return true;
}

void QuillRasterizer::updateGeometry() {
  if (PortInterface* next = downstream.load()) {
    PropertyValue answer;
    bool answered = next->getValue(QUERY_MAX_WIDTH, &answer);
    limitFrameEdge(frame.right, inclusiveSpan(frame.left, frame.right), answered,
                   answer.payload.int32);
    answer = PropertyValue();
    answered = next->getValue(QUERY_MAX_HEIGHT, &answer);
    limitFrameEdge(frame.bottom, inclusiveSpan(frame.top, frame.bottom), answered,
                   answer.payload.int32);

    ImageProperties size;
    size.width = clampedSize(inclusiveSpan(frame.left, frame.right));
    size.height = clampedSize(inclusiveSpan(frame.top, frame.bottom));
    const PropertyValue message = PropertyValue::makePointer(&size);
    next->deliver(MESSAGE_IMAGE_PROPERTIES, &message);
  }
  if (renderer) {
    renderer->setFontSize(static_cast<std::int32_t>(fontSizeFor(inclusiveSpan(frame.left, frame.right),
                                      inclusiveSpan(frame.top, frame.bottom))));
  }
}

}  // namespace Orb
