#pragma once
// The typed value of properties, settings and port messages: an 8-bit tag and a 64-bit
// payload read according to the tag. The record owns nothing; who owns what a pointer
// payload points to depends on the tag (see PropertyTag).
#include <cstdint>

#include "framework/SimpleString.h"

namespace Orb {

/// What a PropertyValue's payload holds.
enum PropertyTag : std::uint8_t {
  ValueEmpty = 0,              ///< nothing (a fresh table entry)
  ValueBool = 1,               ///< payload.flag: 0 false, anything else true
  ValueFlag = 2,               ///< payload.flag, as ValueBool; used by port messages
  ValueUInt32 = 6,             ///< payload.uint32: a number, colour 0x00RRGGBB or format code
  ValueString = 11,            ///< payload.string, owned by whoever produced the value
  ValueStringHandedOver = 12,  ///< payload.string, a heap string the receiver now owns
  ValueWideString = 13,        ///< payload.wideString (UTF-16), owned by the producer
  ValuePointer = 14,           ///< payload.pointer; the key or message code fixes its type
};

struct PropertyValue {
  union Payload {
    std::uint64_t raw;  // first, so that zero-initialisation clears all 64 bits
    std::uint8_t flag;
    std::uint32_t uint32;
    std::int32_t int32;
    SimpleString<char>* string;
    SimpleString<unsigned short>* wideString;
    void* pointer;
  };

  std::uint8_t tag = ValueEmpty;
  alignas(8) Payload payload{};

  static PropertyValue makeBool(bool value) { return withFlag(ValueBool, value); }
  static PropertyValue makeFlag(bool value) { return withFlag(ValueFlag, value); }
  static PropertyValue makeUInt32(std::uint32_t value) {
    PropertyValue made;
    made.tag = ValueUInt32;
    made.payload.uint32 = value;
    return made;
  }
  /// `tag` must be ValueString or ValueStringHandedOver.
  static PropertyValue makeString(SimpleString<char>* value, std::uint8_t tag = ValueString) {
    PropertyValue made;
    made.tag = tag;
    made.payload.string = value;
    return made;
  }
  static PropertyValue makeWideString(SimpleString<unsigned short>* value) {
    PropertyValue made;
    made.tag = ValueWideString;
    made.payload.wideString = value;
    return made;
  }
  static PropertyValue makePointer(void* value) {
    PropertyValue made;
    made.tag = ValuePointer;
    made.payload.pointer = value;
    return made;
  }

  /// True for a flag payload that is not 0, whatever the tag.
  bool isSet() const { return payload.flag != 0; }

 private:
  static PropertyValue withFlag(std::uint8_t tag, bool value) {
    PropertyValue made;
    made.tag = tag;
    made.payload.flag = value ? 1 : 0;
    return made;
  }
};

static_assert(sizeof(PropertyValue::Payload) == 8, "the payload is 64 bits on every target");

}  // namespace Orb
