#pragma once
// Codes of the messages that travel between connected ports. The comment after each
// code says which port operation carries it and what its PropertyValue holds.
#include <cstdint>

namespace Orb {

// deliver
inline constexpr std::uint32_t MESSAGE_SAMPLE = 0x200D000A;            // 14: MediaBuffer*
inline constexpr std::uint32_t MESSAGE_FONT_ATTACHMENT = 0x2019000E;   // 14: TypedMediaBuffer*
inline constexpr std::uint32_t MESSAGE_FONT_NAME = 0x2021000C;         // 12: heap SimpleString<char>*
inline constexpr std::uint32_t MESSAGE_OVERRIDE_EMBEDDED_FONT = 0x20220002;  // 2: flag byte
inline constexpr std::uint32_t MESSAGE_IMAGE_PROPERTIES = 0x2009000E;  // 14: ImageProperties*
inline constexpr std::uint32_t MESSAGE_SUBTITLE_LINES = 0x2023000E;    // 14: SubtitleLines*

// getValue: the answer is a signed 32-bit number in the low bits of the payload
inline constexpr std::uint32_t QUERY_MAX_WIDTH = 0x200A0005;
inline constexpr std::uint32_t QUERY_MAX_HEIGHT = 0x200B0005;

// control
inline constexpr std::uint32_t CONTROL_CONNECT = 0x3000000E;        // 14: PortInterface* downstream
inline constexpr std::uint32_t CONTROL_DISCONNECT = 0x30010000;     // no value
inline constexpr std::uint32_t CONTROL_FLUSH = 0x30040000;          // no value
inline constexpr std::uint32_t CONTROL_DISCARD = 0x30050000;        // no value
inline constexpr std::uint32_t CONTROL_SET_ALLOCATOR = 0x3008000E;  // 14: BufferAllocator*

// query
inline constexpr std::uint32_t QUERY_READY = 0x40000002;  // no value

}  // namespace Orb
