#include "bench/component/ComponentRig.h"

#include "framework/FormatCodes.h"
#include "framework/SettingKinds.h"

namespace QuillBench {

namespace {

// Loaded once and kept for the process: components may be made and destroyed at any time,
// and the module's threads and statics must not outlive its code.
const Host::PluginModule* loadedModule(std::string& error) {
  static std::string loadError;
  static const std::unique_ptr<Host::PluginModule> module =
      Host::PluginModule::open(QUILL_MODULE_PATH, loadError);
  error = loadError;
  return module.get();
}

}  // namespace

ComponentRig::ComponentRig(const RigSettings& settings) {
  if (!fonts_.ready()) {
    error_ = fonts_.error();
    return;
  }
  const Host::PluginModule* module = loadedModule(error_);
  if (!module) return;
  component_ = Host::HostedComponent::create(*module, host_, error_);
  if (component_) wire(settings);
}

void ComponentRig::wire(const RigSettings& settings) {
  settings_.setSize(Orb::SETTING_KIND_FRAMEBUFFER, "framebuffer", "size", settings.frameWidth,
                    settings.frameHeight);
  settings_.setString(Orb::SETTING_KIND_STYLE, "Font", "Name", settings.fontName);
  settings_.setString(Orb::SETTING_KIND_STYLE, "Layout", "Engine", settings.layout);
  if (!component_->attach(settings_)) {
    error_ = "attach refused: no renderer for " + settings.fontName;
    return;
  }
  if (!component_->createPorts(Orb::INPUT_FORMAT_UTF8, settings.outputFormat.c_str())) {
    error_ = "no port for UTF8 in and " + settings.outputFormat + " out";
    return;
  }
  allocator_ = &recycling_;
  if (settings.zeroFilledBuffers) allocator_ = &zeroFilling_;
  if (!component_->connect(downstream_, *allocator_)) {
    error_ = "the output port refused its downstream or allocator";
  }
}

ComponentRig::~ComponentRig() = default;

bool ComponentRig::deliver(Orb::MediaBuffer& sample) { return component_->deliver(sample); }

void ComponentRig::emptyCaches() {
  // Without a retained sample the re-render the setting change asks for has nothing to do.
  component_->flush();
  // Connecting again applies the settings anew, which makes a new renderer.
  component_->connect(downstream_, *allocator_);
}

std::vector<std::unique_ptr<Host::SampleBuffer>> textSamples(const std::vector<std::string>& texts) {
  std::vector<std::unique_ptr<Host::SampleBuffer>> samples;
  samples.reserve(texts.size());
  for (const std::string& text : texts) samples.push_back(Host::SampleBuffer::text(text));
  return samples;
}

}  // namespace QuillBench
