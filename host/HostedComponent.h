#pragma once
// One component made by a plug-in module and driven in the order a media engine drives
// it: made through the module's entry, attached to a settings provider, given its input
// and output ports, connected to a downstream port and a buffer allocator, then handed
// samples. Destruction takes it down in the engine's order: disconnect, release the
// ports, detach, release the component.
//
// Ownership: the object holds the component's one reference. The module, the host
// object, the settings provider, the downstream port, the allocator and every sample the
// component may still hold must outlive it.
// Threads: one host thread at a time calls it; the component itself may call the
// downstream port and the allocator from its worker thread.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/BufferAllocator.h"
#include "framework/ComponentInterface.h"
#include "framework/MediaBuffer.h"
#include "framework/Plugin.h"
#include "framework/PluginHost.h"
#include "framework/PortInterface.h"
#include "framework/SettingsProvider.h"
#include "framework/TransformInterface.h"
#include "host/PluginModule.h"

namespace Host {

class HostedComponent {
 public:
  /// A component of `module` made for `host` and looked up as a transform; null with a
  /// one-line `error` when the module made none or it is not a transform.
  static std::unique_ptr<HostedComponent> create(const PluginModule& module,
                                                 Orb::PluginHost& host, std::string& error);
  ~HostedComponent();
  HostedComponent(const HostedComponent&) = delete;
  HostedComponent& operator=(const HostedComponent&) = delete;

  /// Attaches `provider`, from which the component reads its settings; false when the
  /// component refused it (it found no font to render with).
  bool attach(Orb::SettingsProvider& provider);

  /// Creates the input port for `inputFormat` ("UTF8", "WSTR") and the output port for
  /// `outputFormat` ("RGBA", "ARGB", "BGRA", "ABGR"); false when either is refused.
  bool createPorts(const char* inputFormat, const char* outputFormat);

  /// Connects `downstream` to the output port and hands over `allocator`, then answers
  /// whether the component is ready to render (QUERY_READY). Needs the ports.
  bool connect(Orb::PortInterface& downstream, Orb::BufferAllocator& allocator);

  /// Delivers `sample` on the input port (MESSAGE_SAMPLE); true when the component
  /// accepted it, which for a subtitle means its image went downstream. An accepted
  /// sample is the component's until it releases it; a refused one stays the caller's.
  bool deliver(Orb::MediaBuffer& sample);

  /// Tells the component to drop what it retained for re-rendering (CONTROL_FLUSH).
  void flush();

  Orb::Plugin& plugin() const { return *plugin_; }
  Orb::ComponentInterface& component() const { return *component_; }
  Orb::TransformInterface& transform() const { return *transform_; }
  /// The ports, or null before createPorts() succeeded.
  Orb::PortInterface* input() const { return input_; }
  Orb::PortInterface* output() const { return output_; }

 private:
  HostedComponent(Orb::Plugin* plugin, Orb::ComponentInterface* component,
                  Orb::TransformInterface* transform);

  Orb::Plugin* plugin_;  // one reference, ended by the destructor
  Orb::ComponentInterface* component_;
  Orb::TransformInterface* transform_;
  bool attached_ = false;
  bool connected_ = false;
  Orb::PortInterface* input_ = nullptr;
  Orb::PortInterface* output_ = nullptr;
};

}  // namespace Host
