#pragma once
// The ids a host passes to Plugin::queryInterface. They are compared exactly and
// case-sensitively, so hosts should use these constants rather than spell them.

namespace Orb {

inline constexpr const char* ID_INTERFACE_COMPONENT = "com.omra.streamengine.interface.component";
inline constexpr const char* ID_INTERFACE_TRANSFORM = "com.omra.streamengine.interface.transform";
inline constexpr const char* ID_COMPONENT_TRANSFORM = "com.omra.streamengine.component.transform";
inline constexpr const char* ID_COMPONENT_INPUT = "com.omra.streamengine.component.input";
inline constexpr const char* ID_INTERFACE_INPUT = "com.omra.streamengine.interface.input";
inline constexpr const char* ID_COMPONENT_OUTPUT_SINGLE =
    "com.omra.streamengine.component.output.single";
inline constexpr const char* ID_COMPONENT_OUTPUT_MULTIPLE =
    "com.omra.streamengine.component.output.multiple";
inline constexpr const char* ID_COMPONENT_OUTPUT = "com.omra.streamengine.component.output";
inline constexpr const char* ID_INTERFACE_OUTPUT = "com.omra.streamengine.interface.output";

/// queryInterface answers: the interface was stored, or the id is not implemented.
inline constexpr int QUERY_INTERFACE_OK = 0;
inline constexpr int QUERY_INTERFACE_UNKNOWN = 3;

}  // namespace Orb
