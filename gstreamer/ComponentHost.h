#pragma once
// The element's component: the module loaded by path, one component made from it and
// driven through the SDK exactly as any host drives it, its settings kept in a provider
// of the element's own, and its images turned into overlays by an OverlayPort.
//
// Ownership: the host owns the module, the component and every object the component
// uses, and keeps each subtitle sample alive for as long as the component may hold it.
// Threads: render() and flush() come from the video streaming thread, setStyle() and
// setFrameSize() from any thread; the component serialises them, and its worker thread
// delivers re-renders to the port.
#include <cstdint>
#include <memory>
#include <string>

#include "gstreamer/OverlayPort.h"
#include "host/HostBufferAllocator.h"
#include "host/HostedComponent.h"
#include "host/PluginModule.h"
#include "host/RecordingHost.h"
#include "host/SampleBuffer.h"
#include "host/SettingsStore.h"

namespace QuillGst {

/// How subtitles look: the component's style settings.
struct OverlayStyle {
  std::string font = "DejaVu Sans:0::::";  ///< "Font"/"Name"
  std::uint32_t textColour = 0xFFFF00;     ///< "Color"/"Text", 0xRRGGBB
  std::uint32_t outlineColour = 0x000000;  ///< "Color"/"TextOutline"
  bool overrideColours = false;            ///< "Color"/"OverrideEmbedded"
  bool overrideFonts = false;              ///< "Font"/"OverrideEmbedded"
  std::string engine = "classic";          ///< "Layout"/"Engine": "classic" or "full"
  std::uint32_t alignment = 2;             ///< "Layout"/"Alignment", 1 to 9 as on a keypad
};

class ComponentHost {
 public:
  /// A component of the module at `modulePath` styled by `style`, ready to render; null
  /// with a one-line `error` saying which step failed.
  static std::unique_ptr<ComponentHost> start(const std::string& modulePath,
                                              const OverlayStyle& style, std::string& error);
  ~ComponentHost();
  ComponentHost(const ComponentHost&) = delete;
  ComponentHost& operator=(const ComponentHost&) = delete;

  /// Changes the settings; the component draws the shown subtitle again in the new style.
  /// Not thread-safe against itself: one thread at a time changes the style.
  void setStyle(const OverlayStyle& style);

  /// The video's size, used from the next render on.
  void setFrameSize(int width, int height);

  /// Draws `markup` (the component's markup, UTF-8) as subtitle `subtitle`; its overlay
  /// then waits in port(). False when the component refused it (nothing to draw).
  bool render(const std::string& markup, std::uint32_t subtitle);

  /// Makes the component forget the subtitle it keeps for re-rendering.
  void flush();

  const OverlayPort& port() const { return port_; }

 private:
  ComponentHost() = default;
  bool setUp(const std::string& modulePath, const OverlayStyle& style, std::string& error);

  std::unique_ptr<Host::PluginModule> module_;  // first made, last gone
  Host::RecordingHost host_;
  Host::SettingsStore settings_;
  OverlayStyle style_;   // what settings_ holds once styled_
  bool styled_ = false;
  Host::HostBufferAllocator allocator_;
  OverlayPort port_;
  std::unique_ptr<Host::SampleBuffer> retained_;  // the sample the component holds
  std::unique_ptr<Host::SampleBuffer> refused_;   // the last refused one, still pointed at
  std::unique_ptr<Host::HostedComponent> component_;  // last made, first gone
};

}  // namespace QuillGst
