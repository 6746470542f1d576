#pragma once
// One component from the module, set up and driven the way a media engine drives it:
// created through `_getPlugin`, attached to a settings provider, given its input and
// output ports, connected to a downstream port and a buffer allocator, then handed one
// subtitle sample at a time. Destruction takes it down in the same order an engine
// would: disconnect, release the ports, detach, release the component.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/HostedComponent.h"
#include "host/PluginModule.h"
#include "host/RecordingHost.h"
#include "host/RecyclingAllocator.h"
#include "host/SampleBuffer.h"
#include "host/SettingsStore.h"
#include "tools/ImageSink.h"
#include "tools/Options.h"

namespace QuillRender {

/// What the component is configured with; the names follow the command-line options.
struct SessionSettings {
  int frameWidth = 1920;
  int frameHeight = 1080;
  PixelFormat format = PixelFormat::RGBA;
  InputEncoding encoding = InputEncoding::Utf8;
  std::string font;                      ///< the "Font"/"Name" value
  std::vector<std::uint8_t> fontFile;    ///< delivered as a "FONT" sample when not empty
  std::uint32_t textColour = 0xFFFF00;
  std::uint32_t outlineColour = 0x000000;
  bool overrideColours = false;
  bool overrideFonts = false;
  std::string layout = "full";  ///< the "Layout"/"Engine" value
  int alignment = 2;            ///< the "Layout"/"Alignment" value
  bool keepPixels = true;       ///< false: images are only placed, never looked at
};

class ComponentSession {
 public:
  /// A component from `module` (which must outlive the session) set up with
  /// `settings`; null with a one-line `error` when any step is refused.
  static std::unique_ptr<ComponentSession> start(const Host::PluginModule& module,
                                                 const SessionSettings& settings,
                                                 std::string& error);
  ~ComponentSession();
  ComponentSession(const ComponentSession&) = delete;
  ComponentSession& operator=(const ComponentSession&) = delete;

  /// Delivers one subtitle (UTF-8 with markup) as a sample on the input port. Answers
  /// the image when the component accepted it, nullopt when it refused.
  std::optional<DeliveredImage> render(const std::string& utf8);

 private:
  explicit ComponentSession(const SessionSettings& settings);
  bool setUp(const Host::PluginModule& module, std::string& error);
  void configure();

  SessionSettings settings_;
  // Host objects: they outlive the component, which the destructor releases first.
  Host::RecordingHost host_;
  Host::SettingsStore store_;
  Host::RecyclingAllocator allocator_;  // a frame pool: no block filled twice per image
  ImageSink sink_;
  std::unique_ptr<Host::SampleBuffer> fontSample_;  // viewed by the component while it lives
  std::unique_ptr<Host::SampleBuffer> retained_;    // the sample the component may still hold
  std::unique_ptr<Host::SampleBuffer> refused_;     // the last refused one, still pointed at

  std::unique_ptr<Host::HostedComponent> component_;  // last: goes before the host objects
};

}  // namespace QuillRender
