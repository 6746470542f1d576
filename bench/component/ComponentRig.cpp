#include "bench/component/ComponentRig.h"

#include <dlfcn.h>

#include "framework/InterfaceIds.h"
#include "framework/MessageCodes.h"
#include "framework/PropertyValue.h"
#include "framework/SimpleString.h"
#include "rasterizer/Entry.h"

namespace QuillBench {

namespace {

constexpr std::int32_t kFrameBufferKind = 0;
constexpr std::int32_t kStyleKind = 4;
constexpr std::int32_t kPortKind = 1;

// Loaded once and kept for the process: components may be made and destroyed at any time,
// and the module's threads and statics must not outlive its code.
GetPluginFunction moduleEntry(std::string& error) {
  static std::string loadError;
  static const GetPluginFunction entry = [] {
    void* module = dlopen(QUILL_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
      loadError = dlerror();
      return GetPluginFunction{nullptr};
    }
    auto found = reinterpret_cast<GetPluginFunction>(dlsym(module, "_getPlugin"));
    if (!found) loadError = std::string(QUILL_MODULE_PATH) + " has no _getPlugin";
    return found;
  }();
  error = loadError;
  return entry;
}

template <typename Interface>
Interface* part(Orb::Plugin& plugin, const char* id) {
  void* found = nullptr;
  if (plugin.queryInterface(Orb::SimpleString<char>(id), &found) != Orb::QUERY_INTERFACE_OK) return nullptr;
  return static_cast<Interface*>(found);
}

}  // namespace

ComponentRig::ComponentRig(const RigSettings& settings) {
  if (!fonts_.ready()) {
    error_ = fonts_.error();
    return;
  }
  const GetPluginFunction entry = moduleEntry(error_);
  if (!entry) return;
  entry(&host_, &plugin_);
  if (!plugin_) {
    error_ = "the module made no component";
    return;
  }
  component_ = part<Orb::ComponentInterface>(*plugin_, Orb::ID_INTERFACE_COMPONENT);
  transform_ = part<Orb::TransformInterface>(*plugin_, Orb::ID_INTERFACE_TRANSFORM);
  if (!component_ || !transform_) {
    error_ = "the component lacks its component or transform part";
    return;
  }
  wire(settings);
}

void ComponentRig::wire(const RigSettings& settings) {
  settings_.setSize(kFrameBufferKind, "framebuffer", "size", settings.frameWidth,
                    settings.frameHeight);
  settings_.setString(kStyleKind, "Font", "Name", settings.fontName);
  settings_.setString(kStyleKind, "Layout", "Engine", settings.layout);
  if (!component_->attach(&settings_)) {
    error_ = "attach refused: no renderer for " + settings.fontName;
    return;
  }
  input_ = transform_->createInputPort(kPortKind, "UTF8", nullptr);
  output_ = transform_->createOutputPort(kPortKind, settings.outputFormat.c_str(), nullptr);
  if (!input_ || !output_) {
    error_ = "no port for UTF8 in and " + settings.outputFormat + " out";
    return;
  }
  const Orb::PropertyValue port = Orb::PropertyValue::makePointer(&downstream_);
  Orb::BufferAllocator* allocator = &recycling_;
  if (settings.zeroFilledBuffers) allocator = &zeroFilling_;
  const Orb::PropertyValue source = Orb::PropertyValue::makePointer(allocator);
  if (!output_->control(Orb::CONTROL_CONNECT, &port) ||
      !output_->control(Orb::CONTROL_SET_ALLOCATOR, &source)) {
    error_ = "the output port refused its downstream or allocator";
  }
}

ComponentRig::~ComponentRig() {
  if (!plugin_) return;
  if (component_) component_->detach();
  plugin_->release();
}

bool ComponentRig::deliver(Orb::MediaBuffer& sample) {
  const Orb::PropertyValue value = Orb::PropertyValue::makePointer(&sample);
  return input_->deliver(Orb::MESSAGE_SAMPLE, &value);
}

void ComponentRig::emptyCaches() {
  // Without a retained sample the re-render the setting change asks for has nothing to do.
  output_->control(Orb::CONTROL_FLUSH, nullptr);
  // Connecting again applies the settings anew, which makes a new renderer.
  const Orb::PropertyValue port = Orb::PropertyValue::makePointer(&downstream_);
  output_->control(Orb::CONTROL_CONNECT, &port);
}

std::vector<std::unique_ptr<Host::SampleBuffer>> textSamples(const std::vector<std::string>& texts) {
  std::vector<std::unique_ptr<Host::SampleBuffer>> samples;
  samples.reserve(texts.size());
  for (const std::string& text : texts) samples.push_back(Host::SampleBuffer::text(text));
  return samples;
}

}  // namespace QuillBench
