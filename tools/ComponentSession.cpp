#include "tools/ComponentSession.h"

#include "framework/FormatCodes.h"
#include "framework/SettingKinds.h"
#include "tools/Utf16.h"

namespace QuillRender {
namespace {

bool fail(std::string& error, std::string message) {
  error = std::move(message);
  return false;
}

}  // namespace

ComponentSession::ComponentSession(const SessionSettings& settings)
    : settings_(settings),
      sink_(settings.format, settings.frameWidth, settings.frameHeight, settings.keepPixels) {}

std::unique_ptr<ComponentSession> ComponentSession::start(const Host::PluginModule& module,
                                                          const SessionSettings& settings,
                                                          std::string& error) {
  std::unique_ptr<ComponentSession> session(new ComponentSession(settings));
  if (!session->setUp(module, error)) return nullptr;
  return session;
}

void ComponentSession::configure() {
  using Orb::SETTING_KIND_STYLE;
  store_.setSize(Orb::SETTING_KIND_FRAMEBUFFER, "framebuffer", "size", settings_.frameWidth,
                 settings_.frameHeight);
  store_.setUInt32(SETTING_KIND_STYLE, "Color", "Text", settings_.textColour);
  store_.setUInt32(SETTING_KIND_STYLE, "Color", "TextOutline", settings_.outlineColour);
  store_.setBool(SETTING_KIND_STYLE, "Color", "OverrideEmbedded", settings_.overrideColours);
  store_.setBool(SETTING_KIND_STYLE, "Font", "OverrideEmbedded", settings_.overrideFonts);
  store_.setString(SETTING_KIND_STYLE, "Font", "Name", settings_.font);
  store_.setString(SETTING_KIND_STYLE, "Layout", "Engine", settings_.layout);
  store_.setUInt32(SETTING_KIND_STYLE, "Layout", "Alignment",
                   static_cast<std::uint32_t>(settings_.alignment));
  store_.setBool(SETTING_KIND_STYLE, "Layout", "Lines", true);  // the manifest lists them
}

bool ComponentSession::setUp(const Host::PluginModule& module, std::string& error) {
  component_ = Host::HostedComponent::create(module, host_, error);
  if (!component_) return false;
  configure();
  if (!component_->attach(store_)) {
    return fail(error, "the component found no font to render with (font \"" + settings_.font +
                           "\"); point --fonts-dir at a folder of fonts or give --font-file");
  }
  if (!component_->createPorts(inputFormatName(settings_.encoding),
                               pixelFormatName(settings_.format))) {
    return fail(error, "the component refused its ports");
  }
  if (!component_->connect(sink_, allocator_)) {
    return fail(error, "the component is not ready to render (no usable font)");
  }

  if (!settings_.fontFile.empty()) {
    // The sample keeps the only copy: a large font need not be held twice per component.
    fontSample_ = Host::SampleBuffer::font(std::move(settings_.fontFile));
    if (!component_->deliver(*fontSample_)) {
      return fail(error, "the component did not take the font file");
    }
  }
  return true;
}

std::optional<DeliveredImage> ComponentSession::render(const std::string& utf8) {
  std::unique_ptr<Host::SampleBuffer> sample =
      settings_.encoding == InputEncoding::Utf8 ? Host::SampleBuffer::text(utf8)
                                                : Host::SampleBuffer::wideText(utf8ToUtf16(utf8));
  sink_.take();  // nothing stale may pass for this subtitle's image
  if (!component_->deliver(*sample)) {
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

ComponentSession::~ComponentSession() = default;

}  // namespace QuillRender
