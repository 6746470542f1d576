#pragma once
// The built plug-in module, loaded as a host loads it (dlopen, then "_getPlugin"), or in
// programs built with the component linked in, its linked "_getPlugin"; and one component
// from it wired to the in-process host objects: settings, allocator and a capturing
// downstream port. Tests drive the component only through its interfaces.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/ComponentInterface.h"
#include "framework/Plugin.h"
#include "framework/PortInterface.h"
#include "framework/SettingKinds.h"
#include "framework/TransformComponent.h"
#include "framework/TransformInterface.h"
#include "host/CapturingPort.h"
#include "host/HostBufferAllocator.h"
#include "host/RecordingHost.h"
#include "host/SampleBuffer.h"
#include "host/SettingsStore.h"

namespace QuillTest {

using Image = Host::CapturingPort::Image;

/// The kind of the settings the component reads its colours and font from.
constexpr std::int32_t kStyle = Orb::SETTING_KIND_STYLE;
/// The kind of the "framebuffer"/"size" setting.
constexpr std::int32_t kFrameBuffer = Orb::SETTING_KIND_FRAMEBUFFER;

/// The scanned folder of fonts made for these tests: "Arial" (regular and bold) and
/// "Quill Serif".
std::string fixtureFontsFolder();
/// "Quill Mono", a font made for these tests that lies outside the scanned folder.
std::string quillMonoPath();
std::vector<std::uint8_t> quillMonoBytes();

/// A component made by the loaded module. It holds the one reference and releases it when
/// destroyed (unless `release` was called already). The host objects and kept samples
/// outlive it.
class LoadedComponent {
 public:
  LoadedComponent();
  ~LoadedComponent();
  LoadedComponent(const LoadedComponent&) = delete;
  LoadedComponent& operator=(const LoadedComponent&) = delete;

  /// Ends the reference; answers what release answered.
  std::int32_t release();
  /// Detaches and ends the reference, which must be the last one.
  void destroy();

  /// Creates both ports, attaches `settings` first when `attach` is true, connects the
  /// capturing port and the allocator. Fails the test when any step is refused.
  void wire(const char* inputFormat = "UTF8", const char* outputFormat = "RGBA", bool attach = true);

  /// Keeps `sample` alive until after the component is gone, as a host must.
  Host::SampleBuffer& keep(std::unique_ptr<Host::SampleBuffer> sample);
  /// Keeps a text sample of `text` and delivers it, expecting `accepted`; answers it.
  Host::SampleBuffer& deliverText(const std::string& text, bool accepted = true);

  /// Delivers `sample` on the input port with MESSAGE_SAMPLE.
  bool deliver(Orb::MediaBuffer& sample);
  /// Delivers a message with any code and value on the input port.
  bool deliverMessage(std::uint32_t code, const Orb::PropertyValue* value);
  /// Sends a control message to the output port, as the downstream does.
  bool control(std::uint32_t code, const Orb::PropertyValue* value = nullptr);

  /// The `index`th image the downstream kept (an empty one, and a failure, when missing).
  Image image(std::size_t index = 0) const;
  /// The frame width and height the downstream was last told.
  std::pair<std::int32_t, std::int32_t> frame() const;

  Host::RecordingHost host;
  Host::SettingsStore settings;
  Host::HostBufferAllocator allocator;
  Host::CapturingPort downstream;
  std::vector<std::unique_ptr<Host::SampleBuffer>> samples;  // outlive the component

  Orb::Plugin* plugin = nullptr;
  Orb::ComponentInterface* component = nullptr;
  Orb::TransformInterface* transform = nullptr;
  Orb::PortInterface* input = nullptr;
  Orb::PortInterface* output = nullptr;
};

/// Number of pixels in `image`'s region whose four bytes are exactly `bytes`.
int countPixels(const Image& image, const std::uint8_t (&bytes)[4]);

/// Width of `image`'s region.
int boxWidth(const Image& image);

}  // namespace QuillTest
