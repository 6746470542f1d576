#pragma once
// The database layer's typed value: null, real, integer, text, blob or date-time. All
// fields exist at once; the tag says which one holds the value, and every other field
// holds its empty value. Accessors read their field whatever the tag and never convert.
#include <cstdint>
#include <string>

#include "db/DateTime.h"
#include "db/MemoryBuffer.h"

namespace KTDSOLD {

class Variant {
 public:
  enum Type : std::int32_t {
    TypeNull = 0,
    TypeReal = 1,
    TypeInteger = 2,
    TypeText = 3,
    TypeBlob = 4,
    TypeDateTime = 5,
  };

  /// A null value.
  Variant() = default;
  /// Text; a null pointer gives a null value.
  explicit Variant(const char* text);
  Variant(const Variant& other);
  Variant& operator=(const Variant& other);
  virtual ~Variant() = default;

  /// Copies the other's tag and the value that tag names; self-assignment changes nothing.
  virtual void Assign(const Variant& other);
  virtual void Set(const DateTime& value);
  /// A blob, bytes copied; stays empty when the copy cannot be allocated.
  virtual void Set(const kttl::MemoryBuffer<unsigned char>& value);
  virtual void Set(const std::string& value);
  /// Text; a null pointer gives a null value rather than reading through it.
  virtual void Set(const char* value);
  /// Integer 1 or 0.
  virtual void Set(bool value);
  virtual void Set(std::uint64_t value);  ///< integer, the 64 bits as they are
  virtual void Set(std::int64_t value);   ///< integer
  virtual void Set(std::uint32_t value);  ///< integer, zero-extended
  virtual void Set(std::int32_t value);   ///< integer, sign-extended
  virtual void Set(double value);         ///< real

  /// Back to null, every field empty.
  void Clear();

  Type GetType() const { return type; }
  double GetReal() const { return real; }
  /// The low 32 bits of the integer value.
  std::int32_t GetInt32() const { return static_cast<std::int32_t>(integer); }
  std::int64_t GetInt64() const { return integer; }
  const std::string& GetText() const { return text; }
  const kttl::MemoryBuffer<unsigned char>& GetBlob() const { return blob; }
  const DateTime& GetDateTime() const { return dateTime; }

 private:
  void setInteger(std::int64_t value);

  Type type = TypeNull;
  double real = 0.0;
  std::int64_t integer = 0;
  std::string text;
  kttl::MemoryBuffer<unsigned char> blob;
  DateTime dateTime;
};

}  // namespace KTDSOLD
