#pragma once
// The component's two ports. Each is owned by the component and only forwards to it; a
// port must not be used after the component released it.
#include "rasterizer/QuillRasterizer.h"

namespace Orb {

/// Receives subtitle samples, fonts and style messages from the upstream component.
class QuillRasterizer::Input final : public PortInterface {
 public:
  explicit Input(QuillRasterizer& component) : owner(component) {}

  /// QUERY_READY: whether a renderer exists; every other question answers true.
  bool query(std::uint32_t code, const PropertyValue* value) override;
  /// Nothing to control on this side: answers true.
  bool control(std::uint32_t code, const PropertyValue* value) override;
  /// Nothing to ask: answers false.
  bool getValue(std::uint32_t code, PropertyValue* value) override;
  /// MESSAGE_SAMPLE, MESSAGE_FONT_ATTACHMENT, MESSAGE_FONT_NAME and
  /// MESSAGE_OVERRIDE_EMBEDDED_FONT; anything else answers false.
  bool deliver(std::uint32_t code, const PropertyValue* value) override;

 private:
  QuillRasterizer& owner;
};

/// Feeds the downstream component, which connects and hands over its allocator here.
class QuillRasterizer::Output final : public PortInterface {
 public:
  explicit Output(QuillRasterizer& component) : owner(component) {}

  /// QUERY_READY: whether a renderer exists; every other question answers true.
  bool query(std::uint32_t code, const PropertyValue* value) override;
  /// CONTROL_CONNECT, CONTROL_DISCONNECT, CONTROL_FLUSH, CONTROL_DISCARD and
  /// CONTROL_SET_ALLOCATOR; always answers true.
  bool control(std::uint32_t code, const PropertyValue* value) override;
  /// Nothing to ask: answers false.
  bool getValue(std::uint32_t code, PropertyValue* value) override;
  /// Nothing travels upstream: answers false.
  bool deliver(std::uint32_t code, const PropertyValue* value) override;

 private:
  QuillRasterizer& owner;
};

}  // namespace Orb
