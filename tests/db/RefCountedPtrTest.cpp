// Shared references keep an object alive exactly as long as one of them holds it, however
// containers copy and assign them, and the interface-asking form never adopts a stranger.
#include "db/RefCountedQIPtr.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Reports its own destruction.
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

// Stands for a richer interface of the same object.
class CountedWithOther : public CountedObject {
 public:
  using CountedObject::CountedObject;
};

using Ref = kttl::RefCountedPtr_STLSafe<CountedObject>;

TEST(RefCountedPtrTest, CopiesCountAndTheLastOneDestroys) {
  bool destroyed = false;
  auto* object = new CountedObject(&destroyed);
  {
    Ref first(object);
    {
      Ref second(first);
      EXPECT_EQ(object->GetRefCount(), 2);
    }
    EXPECT_EQ(object->GetRefCount(), 1);
    Ref& alias = first;
    first = alias;  // self-assignment must not release first
    EXPECT_EQ(object->GetRefCount(), 1);
    Ref other(object);
    first = other;  // same object, separate reference
    EXPECT_EQ(object->GetRefCount(), 2);
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);

  Ref empty(nullptr);
  Ref copy(empty);
  copy = empty;
  EXPECT_FALSE(copy);
}

TEST(RefCountedPtrTest, ReassignmentReleasesTheOldObject) {
  bool firstGone = false, secondGone = false;
  kttl::RefCountedPtr<CountedObject> holder(new CountedObject(&firstGone));
  holder = kttl::RefCountedPtr<CountedObject>(new CountedObject(&secondGone));
  EXPECT_TRUE(firstGone);
  EXPECT_FALSE(secondGone);
  holder = kttl::RefCountedPtr<CountedObject>();
  EXPECT_TRUE(secondGone);
}

TEST(RefCountedPtrTest, MapEntriesHoldOneReferenceEach) {
  bool destroyed = false;
  auto* object = new CountedObject(&destroyed);
  std::map<std::string, Ref> registry;
  registry["a"] = Ref(object);
  registry["b"] = registry["a"];
  EXPECT_EQ(object->GetRefCount(), 2);
  registry.erase("a");
  EXPECT_EQ(object->GetRefCount(), 1);
  registry.clear();
  EXPECT_TRUE(destroyed);
}

TEST(RefCountedPtrTest, InterfaceQueryAdoptsOnlyObjectsThatImplementIt) {
  bool plainGone = false, richGone = false;
  kttl::RefCountedPtr<CountedObject> plain(new CountedObject(&plainGone));
  kttl::RefCountedQIPtr<CountedWithOther> none(plain.Get());
  EXPECT_EQ(none.Get(), nullptr);
  EXPECT_EQ(plain->GetRefCount(), 1);

  kttl::RefCountedPtr<CountedObject> rich(new CountedWithOther(&richGone));
  {
    kttl::RefCountedQIPtr<CountedWithOther> found(rich.Get());
    ASSERT_NE(found.Get(), nullptr);
    EXPECT_EQ(rich->GetRefCount(), 2);
  }
  EXPECT_EQ(rich->GetRefCount(), 1);
  kttl::RefCountedQIPtr<CountedWithOther> fromNull(static_cast<CountedObject*>(nullptr));
  EXPECT_FALSE(fromNull);
}

}  // namespace
