#include "host/HostedComponent.h"

#include "framework/InterfaceIds.h"
#include "framework/MessageCodes.h"
#include "framework/SimpleString.h"

namespace Host {
namespace {

template <typename Interface>
Interface* lookUp(Orb::Plugin& plugin, const char* id) {
  void* part = nullptr;
  if (plugin.queryInterface(Orb::SimpleString<char>(id), &part) != Orb::QUERY_INTERFACE_OK) {
    return nullptr;
  }
  return static_cast<Interface*>(part);
}

}  // namespace

HostedComponent::HostedComponent(Orb::Plugin* plugin, Orb::ComponentInterface* component,
                                 Orb::TransformInterface* transform)
    : plugin_(plugin), component_(component), transform_(transform) {}

std::unique_ptr<HostedComponent> HostedComponent::create(const PluginModule& module,
                                                         Orb::PluginHost& host,
                                                         std::string& error) {
  Orb::Plugin* plugin = module.createPlugin(&host);
  if (!plugin) {
    error = "the plug-in module " + module.path() + " made no component";
    return nullptr;
  }
  auto* component = lookUp<Orb::ComponentInterface>(*plugin, Orb::ID_INTERFACE_COMPONENT);
  auto* transform = lookUp<Orb::TransformInterface>(*plugin, Orb::ID_INTERFACE_TRANSFORM);
  if (!component || !transform) {
    error = "the component of " + module.path() + " is not a transform";
    plugin->release();
    return nullptr;
  }
  return std::unique_ptr<HostedComponent>(new HostedComponent(plugin, component, transform));
}

bool HostedComponent::attach(Orb::SettingsProvider& provider) {
  attached_ = component_->attach(&provider);
  return attached_;
}

bool HostedComponent::createPorts(const char* inputFormat, const char* outputFormat) {
  if (!input_) input_ = transform_->createInputPort(Orb::PORT_KIND_STREAM, inputFormat, nullptr);
  if (!output_) {
    output_ = transform_->createOutputPort(Orb::PORT_KIND_STREAM, outputFormat, nullptr);
  }
  return input_ && output_;
}

bool HostedComponent::connect(Orb::PortInterface& downstream, Orb::BufferAllocator& allocator) {
  if (!output_) return false;
  const Orb::PropertyValue port = Orb::PropertyValue::makePointer(&downstream);
  const Orb::PropertyValue source = Orb::PropertyValue::makePointer(&allocator);
  connected_ = output_->control(Orb::CONTROL_CONNECT, &port);
  output_->control(Orb::CONTROL_SET_ALLOCATOR, &source);
  return connected_ && output_->query(Orb::QUERY_READY, nullptr);
}

bool HostedComponent::deliver(Orb::MediaBuffer& sample) {
  if (!input_) return false;
  const Orb::PropertyValue value = Orb::PropertyValue::makePointer(&sample);
  return input_->deliver(Orb::MESSAGE_SAMPLE, &value);
}

void HostedComponent::flush() {
  if (output_) output_->control(Orb::CONTROL_FLUSH, nullptr);
}

HostedComponent::~HostedComponent() {
  if (output_ && connected_) output_->control(Orb::CONTROL_DISCONNECT, nullptr);
  if (input_) transform_->releaseInputPort(input_);
  if (output_) transform_->releaseOutputPort(output_);
  if (attached_) component_->detach();
  plugin_->release();
}

}  // namespace Host
