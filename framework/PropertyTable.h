#pragma once
// A component's property table: keys in strcmp order, each with a typed value. The
// table owns its keys and the string objects its string entries point to; a value read
// from it stays valid until that entry is replaced or removed. No lock: the owner
// serialises writes against reads.
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "framework/FormatCodes.h"
#include "framework/PropertyValue.h"
#include "framework/SimpleString.h"

namespace Orb {

class PropertyTable {
 public:
  /// Keys whose value can also be asked for as a four-character code (tag ValueUInt32).
  static constexpr const char* INPUT_FORMAT = "InputFormat";
  static constexpr const char* OUTPUT_FORMAT = "OutputFormat";

  PropertyTable() = default;
  PropertyTable(const PropertyTable&) = delete;
  PropertyTable& operator=(const PropertyTable&) = delete;

  ~PropertyTable() {
    for (auto& entry : entries_) destroyPayload(entry.second);
  }

  /// Sets `key` to a new string holding `text` (tag ValueString; null gives the empty
  /// string), destroying the string it held before.
  void setString(const char* key, const char* text) {
    store(key, PropertyValue::makeString(new SimpleString<char>(text)));
  }

  /// Sets `key` to a new UTF-16 string holding `text` (tag ValueWideString).
  void setWideString(const char* key, const unsigned short* text) {
    store(key, PropertyValue::makeWideString(new SimpleString<unsigned short>(text)));
  }

  /// Removes `key` and destroys its string; false when it was not there.
  bool remove(const char* key) {
    auto found = entries_.find(key);
    if (found == entries_.end()) return false;
    destroyPayload(found->second);
    entries_.erase(found);
    return true;
  }

  /// Copies the entry `name` into `*value` and answers true; false, `*value` unchanged,
  /// when `name` (or `value`) is missing. For INPUT_FORMAT and OUTPUT_FORMAT asked with
  /// `value->tag` set to ValueUInt32 beforehand, the answer is instead the format's
  /// four-character code (upper-cased characters 0..3, character 0 in the lowest byte)
  /// with the tag left as it is; false when no format is set (the entry's text is empty).
  bool getProperty(const char* name, PropertyValue* value) const {
    if (!name || !value) return false;
    auto found = entries_.find(name);
    if (found == entries_.end()) return false;
    if (value->tag == ValueUInt32 && isFormatKey(name)) return encodeFormat(found->second, value);
    *value = found->second;
    return true;
  }

  /// Appends every key, in table order; the pointers stay valid while their entry exists.
  bool getPropertyNames(std::vector<const char*>* names) const {
    if (!names) return false;
    for (const auto& entry : entries_) names->push_back(entry.first.c_str());
    return true;
  }

 private:
  static bool isFormatKey(const char* name) {
    return std::strcmp(name, INPUT_FORMAT) == 0 || std::strcmp(name, OUTPUT_FORMAT) == 0;
  }

  static bool encodeFormat(const PropertyValue& stored, PropertyValue* value) {
    if (stored.tag != ValueString || !stored.payload.string || stored.payload.string->empty())
      return false;
    value->payload.raw = 0;
    value->payload.uint32 = fourCharacterCode(stored.payload.string->c_str());
    return true;
  }

  static void destroyPayload(PropertyValue& value) {
    if (value.tag == ValueString || value.tag == ValueStringHandedOver) delete value.payload.string;
    if (value.tag == ValueWideString) delete value.payload.wideString;
    value = PropertyValue();
  }

  void store(const char* key, const PropertyValue& value) {
    PropertyValue& slot = entries_[key];  // a missing key starts as an all-zero value
    destroyPayload(slot);
    slot = value;
  }

  // std::string orders by unsigned byte comparison, the same order as strcmp.
  std::map<std::string, PropertyValue, std::less<>> entries_;
};

}  // namespace Orb
