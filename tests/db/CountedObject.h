#pragma once
// A reference-counted object for tests that reports its own destruction.
#include "db/IRefCounted.h"

class CountedObject : public kttl::IRefCounted {
 public:
  explicit CountedObject(bool* destroyed) : destroyedFlag(destroyed) {}
  ~CountedObject() override { *destroyedFlag = true; }
  std::int32_t AddRef() override { return ++count; }
  std::int32_t Release() override {
    if (--count > 0) return count;
    delete this;
    return 0;
  }
  std::int32_t GetRefCount() const override { return count; }

 private:
  bool* destroyedFlag;
  std::int32_t count = 0;
};
