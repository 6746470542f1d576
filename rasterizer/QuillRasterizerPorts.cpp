#include "rasterizer/QuillRasterizerPorts.h"

#include <cstring>

#include "framework/FormatCodes.h"
#include "framework/MessageCodes.h"

namespace Orb {

namespace {

bool acceptsInputFormat(const char* format) {
  return std::strncmp(format, INPUT_FORMAT_UTF8, 4) == 0 ||
         std::strncmp(format, INPUT_FORMAT_WSTR, 4) == 0;
}

void* pointerPayload(const PropertyValue* value) { return value ? value->payload.pointer : nullptr; }

}  // namespace

bool QuillRasterizer::Input::query(std::uint32_t code, const PropertyValue*) {
  boost::lock_guard<HandOverMutex> guard(owner.componentLock);
  return code == QUERY_READY ? owner.renderer != nullptr : true;
}

bool QuillRasterizer::Input::control(std::uint32_t, const PropertyValue*) { return true; }

bool QuillRasterizer::Input::getValue(std::uint32_t, PropertyValue*) { return false; }

bool QuillRasterizer::Input::deliver(std::uint32_t code, const PropertyValue* value) {
  return owner.deliverInput(code, value);
}

bool QuillRasterizer::Output::query(std::uint32_t code, const PropertyValue*) {
  return code == QUERY_READY ? owner.queryReady() : true;
}

bool QuillRasterizer::Output::control(std::uint32_t code, const PropertyValue* value) {
  return owner.controlOutput(code, value);
}

bool QuillRasterizer::Output::getValue(std::uint32_t, PropertyValue*) { return false; }

bool QuillRasterizer::Output::deliver(std::uint32_t, const PropertyValue*) { return false; }

PortInterface* QuillRasterizer::createInputPort(std::int32_t kind, const char* format, void*) {
  if (inputPort || kind != PORT_KIND_STREAM || !format || !acceptsInputFormat(format)) return nullptr;
  inputPort = std::make_unique<Input>(*this);
  inputFormatName = format;
  properties.setString(PropertyTable::INPUT_FORMAT, format);
  return inputPort.get();
}

PortInterface* QuillRasterizer::createOutputPort(std::int32_t kind, const char* format, void*) {
  if (outputPort || kind != PORT_KIND_STREAM || !format) return nullptr;
  for (std::uint32_t index = 0; index < PIXEL_FORMAT_COUNT; ++index) {
    if (std::strcmp(format, PIXEL_FORMAT_NAMES[index]) != 0) continue;
    outputPort = std::make_unique<Output>(*this);
    outputFormatName = format;
    {
      // The renderer reads the format under the component lock.
      boost::lock_guard<HandOverMutex> guard(componentLock);
      outputFormatIndex = index;
    }
    properties.setString(PropertyTable::OUTPUT_FORMAT, format);
    return outputPort.get();
  }
  return nullptr;
}

bool QuillRasterizer::releaseInputPort(PortInterface* port) {
  if (!inputPort || port != inputPort.get()) return false;
  inputPort.reset();
  {
    // A sample being rendered reads the input format under the component lock.
    boost::lock_guard<HandOverMutex> guard(componentLock);
    inputFormatName.clear();
  }
  properties.setString(PropertyTable::INPUT_FORMAT, "");
  return true;
}

bool QuillRasterizer::releaseOutputPort(PortInterface* port) {
  if (!outputPort || port != outputPort.get()) return false;
  outputPort.reset();
  outputFormatName.clear();
  properties.setString(PropertyTable::OUTPUT_FORMAT, "");
  return true;
}

bool QuillRasterizer::queryReady() const {
  // Read without the component lock, as a hint: the answer may be stale at once anyway.
  return rendererExists.load();
}

bool QuillRasterizer::controlOutput(std::uint32_t code, const PropertyValue* value) {
  switch (code) {
    case CONTROL_CONNECT:
      downstream = static_cast<PortInterface*>(pointerPayload(value));
      applySettings(true);
      break;
    case CONTROL_DISCONNECT:
      dropRetained();
      resetRenderer();
      downstream = nullptr;
      break;
    case CONTROL_FLUSH:
    case CONTROL_DISCARD:
      dropRetained();
      break;
    case CONTROL_SET_ALLOCATOR:
      allocator = static_cast<BufferAllocator*>(pointerPayload(value));
      break;
    default:
      break;
  }
  return true;
}

void QuillRasterizer::dropRetained() {
  boost::lock_guard<HandOverMutex> guard(componentLock);
  if (!retainedSample) return;
  MediaBuffer* sample = retainedSample;
  retainedSample = nullptr;
  sample->release();
}

void QuillRasterizer::resetRenderer() {
  boost::lock_guard<HandOverMutex> guard(componentLock);
  setRenderer(nullptr);
  overrideEmbeddedFont = false;
  useFontSettings = true;
}

void QuillRasterizer::setRenderer(std::unique_ptr<TextRendererInterface> replacement) {
  boost::lock_guard<HandOverMutex> guard(componentLock);
  renderer = std::move(replacement);
  rendererExists = renderer != nullptr;
}

}  // namespace Orb
