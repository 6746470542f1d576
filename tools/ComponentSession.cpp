#include "tools/ComponentSession.h"

#include "framework/InterfaceIds.h"
#include "framework/MessageCodes.h"
#include "tools/Utf16.h"

namespace QuillRender {
namespace {

constexpr std::int32_t kFrameSettings = 0;
constexpr std::int32_t kStyleSettings = 4;
constexpr std::int32_t kPortKind = 1;

bool fail(std::string& error, std::string message) {
  error = std::move(message);
  return false;
}

template <typename Interface>
Interface* lookUp(Orb::Plugin* plugin, const char* id) {
  void* part = nullptr;
  const Orb::SimpleString<char> name(id);
  if (plugin->queryInterface(name, &part) != Orb::QUERY_INTERFACE_OK) return nullptr;
  return static_cast<Interface*>(part);
}

}  // namespace

ComponentSession::ComponentSession(const SessionSettings& settings)
    : settings_(settings),
      sink_(settings.format, settings.frameWidth, settings.frameHeight, settings.keepPixels) {}

std::unique_ptr<ComponentSession> ComponentSession::start(const ModuleLibrary& module,
                                                          const SessionSettings& settings,
                                                          std::string& error) {
  std::unique_ptr<ComponentSession> session(new ComponentSession(settings));
  if (!session->setUp(module, error)) return nullptr;
  return session;
}

void ComponentSession::configure() {
  store_.setSize(kFrameSettings, "framebuffer", "size", settings_.frameWidth, settings_.frameHeight);
  store_.setUInt32(kStyleSettings, "Color", "Text", settings_.textColour);
  store_.setUInt32(kStyleSettings, "Color", "TextOutline", settings_.outlineColour);
  store_.setBool(kStyleSettings, "Color", "OverrideEmbedded", settings_.overrideColours);
  store_.setBool(kStyleSettings, "Font", "OverrideEmbedded", settings_.overrideFonts);
  store_.setString(kStyleSettings, "Font", "Name", settings_.font);
  store_.setString(kStyleSettings, "Layout", "Engine", settings_.layout);
  store_.setUInt32(kStyleSettings, "Layout", "Alignment", static_cast<std::uint32_t>(settings_.alignment));
  store_.setBool(kStyleSettings, "Layout", "Lines", true);  // the manifest lists them
}

bool ComponentSession::setUp(const ModuleLibrary& module, std::string& error) {
  module.getPlugin()(&host_, &plugin_);
  if (!plugin_) return fail(error, "the module made no component");
  component_ = lookUp<Orb::ComponentInterface>(plugin_, Orb::ID_INTERFACE_COMPONENT);
  transform_ = lookUp<Orb::TransformInterface>(plugin_, Orb::ID_INTERFACE_TRANSFORM);
  if (!component_ || !transform_) {
    return fail(error, "the module's component is not a subtitle transform");
  }
  configure();
  attached_ = component_->attach(&store_);
  if (!attached_) {
    return fail(error, "the component found no font to render with (font \"" + settings_.font +
                           "\"); point --fonts-dir at a folder of fonts or give --font-file");
  }
  input_ = transform_->createInputPort(kPortKind, inputFormatName(settings_.encoding), nullptr);
  output_ = transform_->createOutputPort(kPortKind, pixelFormatName(settings_.format), nullptr);
  if (!input_ || !output_) return fail(error, "the component refused its ports");

  Orb::PropertyValue downstream = Orb::PropertyValue::makePointer(static_cast<Orb::PortInterface*>(&sink_));
  Orb::PropertyValue allocator = Orb::PropertyValue::makePointer(static_cast<Orb::BufferAllocator*>(&allocator_));
  output_->control(Orb::CONTROL_CONNECT, &downstream);
  output_->control(Orb::CONTROL_SET_ALLOCATOR, &allocator);
  if (!output_->query(Orb::QUERY_READY, nullptr)) {
    return fail(error, "the component is not ready to render (no usable font)");
  }

  if (!settings_.fontFile.empty()) {
    // The sample keeps the only copy: a large font need not be held twice per component.
    fontSample_ = Host::SampleBuffer::font(std::move(settings_.fontFile));
    Orb::PropertyValue sample = Orb::PropertyValue::makePointer(
        static_cast<Orb::MediaBuffer*>(fontSample_.get()));
    if (!input_->deliver(Orb::MESSAGE_SAMPLE, &sample)) {
      return fail(error, "the component did not take the font file");
    }
  }
  return true;
}

std::optional<DeliveredImage> ComponentSession::render(const std::string& utf8) {
  std::unique_ptr<Host::SampleBuffer> sample =
      settings_.encoding == InputEncoding::Utf8 ? Host::SampleBuffer::text(utf8)
                                                : Host::SampleBuffer::wideText(utf8ToUtf16(utf8));
  Orb::PropertyValue value =
      Orb::PropertyValue::makePointer(static_cast<Orb::MediaBuffer*>(sample.get()));
  sink_.take();  // nothing stale may pass for this subtitle's image
  if (!input_->deliver(Orb::MESSAGE_SAMPLE, &value)) {
    // Refused: the sample stays ours, yet the component may still point at it as its
    // current sample, so it lives until the next one arrives.
    refused_ = std::move(sample);
    return std::nullopt;
  }
  // Accepted: the component now holds this sample and has given the previous one back.
  retained_ = std::move(sample);
  std::optional<DeliveredImage> image = sink_.take();
  if (!image) image.emplace();  // accepted, yet nothing came: nothing drawn
  return image;
}

ComponentSession::~ComponentSession() {
  if (!plugin_) return;
  if (output_) output_->control(Orb::CONTROL_DISCONNECT, nullptr);
  if (input_) transform_->releaseInputPort(input_);
  if (output_) transform_->releaseOutputPort(output_);
  if (attached_) component_->detach();
  plugin_->release();
}

}  // namespace QuillRender
