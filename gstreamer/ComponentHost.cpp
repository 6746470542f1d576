#include "gstreamer/ComponentHost.h"

#include <glib.h>

#include "framework/FormatCodes.h"
#include "framework/SettingKinds.h"

namespace QuillGst {
namespace {

// The component's byte order that is GStreamer's overlay pixel format on this machine.
const char* overlayPixelFormat() {
  return G_BYTE_ORDER == G_LITTLE_ENDIAN ? Orb::PIXEL_FORMAT_NAMES[Orb::PIXEL_FORMAT_BGRA]
                                         : Orb::PIXEL_FORMAT_NAMES[Orb::PIXEL_FORMAT_ARGB];
}

}  // namespace

std::unique_ptr<ComponentHost> ComponentHost::start(const std::string& modulePath,
                                                    const OverlayStyle& style,
                                                    std::string& error) {
  std::unique_ptr<ComponentHost> host(new ComponentHost());
  if (!host->setUp(modulePath, style, error)) return nullptr;
  return host;
}

bool ComponentHost::setUp(const std::string& modulePath, const OverlayStyle& style,
                          std::string& error) {
  module_ = Host::PluginModule::open(modulePath, error);
  if (!module_) return false;
  component_ = Host::HostedComponent::create(*module_, host_, error);
  if (!component_) return false;
  setStyle(style);
  if (!component_->attach(settings_)) {
    error = "the component found no font to render with (font \"" + style.font +
            "\"); set QUILL_FONTS_DIR to a folder of fonts";
    return false;
  }
  if (!component_->createPorts(Orb::INPUT_FORMAT_UTF8, overlayPixelFormat())) {
    error = "the component refused its ports";
    return false;
  }
  if (!component_->connect(port_, allocator_)) {
    error = "the component is not ready to render";
    return false;
  }
  return true;
}

ComponentHost::~ComponentHost() = default;

void ComponentHost::setStyle(const OverlayStyle& style) {
  // Only what changed is set: every change makes the component draw the subtitle again.
  using Orb::SETTING_KIND_STYLE;
  const bool all = !styled_;
  if (all || style.font != style_.font)
    settings_.setString(SETTING_KIND_STYLE, "Font", "Name", style.font);
  if (all || style.textColour != style_.textColour)
    settings_.setUInt32(SETTING_KIND_STYLE, "Color", "Text", style.textColour);
  if (all || style.outlineColour != style_.outlineColour)
    settings_.setUInt32(SETTING_KIND_STYLE, "Color", "TextOutline", style.outlineColour);
  if (all || style.overrideColours != style_.overrideColours)
    settings_.setBool(SETTING_KIND_STYLE, "Color", "OverrideEmbedded", style.overrideColours);
  if (all || style.overrideFonts != style_.overrideFonts)
    settings_.setBool(SETTING_KIND_STYLE, "Font", "OverrideEmbedded", style.overrideFonts);
  if (all || style.engine != style_.engine)
    settings_.setString(SETTING_KIND_STYLE, "Layout", "Engine", style.engine);
  if (all || style.alignment != style_.alignment)
    settings_.setUInt32(SETTING_KIND_STYLE, "Layout", "Alignment", style.alignment);
  style_ = style;
  styled_ = true;
}

void ComponentHost::setFrameSize(int width, int height) {
  port_.setFrameSize(width, height);
  settings_.setSize(Orb::SETTING_KIND_FRAMEBUFFER, "framebuffer", "size", width, height);
}

bool ComponentHost::render(const std::string& markup, std::uint32_t subtitle) {
  std::unique_ptr<Host::SampleBuffer> sample = Host::SampleBuffer::text(markup);
  sample->word2 = subtitle;  // comes back on the image
  if (!component_->deliver(*sample)) {
    refused_ = std::move(sample);
    return false;
  }
  retained_ = std::move(sample);  // the component gave the previous one back
  return true;
}

void ComponentHost::flush() { component_->flush(); }

}  // namespace QuillGst
