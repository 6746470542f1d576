#include "db/Variant.h"

namespace KTDSOLD {

Variant::Variant(const char* value) { Set(value); }

Variant::Variant(const Variant& other) { Assign(other); }

Variant& Variant::operator=(const Variant& other) {
  Assign(other);
  return *this;
}

void Variant::Assign(const Variant& other) {
  if (&other == this) return;
  switch (other.type) {
    case TypeNull: Clear(); break;
    case TypeReal: Set(other.real); break;
    case TypeInteger: setInteger(other.integer); break;
    case TypeText: Set(other.text); break;
    case TypeBlob: Set(other.blob); break;
    case TypeDateTime: Set(other.dateTime); break;
  }
}

void Variant::Set(const DateTime& value) {
  Clear();
  type = TypeDateTime;
  dateTime = value;
}

void Variant::Set(const kttl::MemoryBuffer<unsigned char>& value) {
  Clear();
  type = TypeBlob;
  blob.Assign(value);
}

void Variant::Set(const std::string& value) {
  Clear();
  type = TypeText;
  text = value;
}

void Variant::Set(const char* value) {
  if (value)
    Set(std::string(value));
  else
    Clear();
}

void Variant::Set(bool value) { setInteger(value ? 1 : 0); }
void Variant::Set(std::uint64_t value) { setInteger(static_cast<std::int64_t>(value)); }
void Variant::Set(std::int64_t value) { setInteger(value); }
void Variant::Set(std::uint32_t value) { setInteger(value); }
void Variant::Set(std::int32_t value) { setInteger(value); }

void Variant::Set(double value) {
  Clear();
  type = TypeReal;
  real = value;
}

void Variant::Clear() {
  type = TypeNull;
  real = 0.0;
  integer = 0;
  text.clear();
  blob.Resize(0, false);
  dateTime = DateTime();
}

void Variant::setInteger(std::int64_t value) {
  Clear();
  type = TypeInteger;
  integer = value;
}

}  // namespace KTDSOLD
