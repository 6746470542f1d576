// Shared references keep an object alive exactly as long as one of them holds it, however
// containers copy and assign them, and the interface-asking form never adopts a stranger.
#include "db/RefCountedQIPtr.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/db/CountedObject.h"

namespace {

// Stands for a richer interface of the same object.
class CountedWithOther : public CountedObject {
 public:
  using CountedObject::CountedObject;
};

TEST(RefCountedPtrTest, NullReferenceHoldsNothing) {
  kttl::RefCountedPtr_STLSafe<CountedObject> empty(nullptr);
  EXPECT_EQ(empty.Get(), nullptr);
  kttl::RefCountedPtr_STLSafe<CountedObject> copy(empty);
  copy = empty;
  EXPECT_FALSE(copy);
}

TEST(RefCountedPtrTest, CopiesCountAndLastOneDestroys) {
  bool destroyed = false;
  auto* object = new CountedObject(&destroyed);
  {
    kttl::RefCountedPtr_STLSafe<CountedObject> first(object);
    EXPECT_EQ(object->GetRefCount(), 1);
    {
      kttl::RefCountedPtr_STLSafe<CountedObject> second(first);
      EXPECT_EQ(object->GetRefCount(), 2);
    }
    EXPECT_EQ(object->GetRefCount(), 1);
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);
}

TEST(RefCountedPtrTest, SelfAndSameObjectAssignmentKeepTheObject) {
  bool destroyed = false;
  auto* object = new CountedObject(&destroyed);
  kttl::RefCountedPtr_STLSafe<CountedObject> first(object);
  kttl::RefCountedPtr_STLSafe<CountedObject>& alias = first;
  first = alias;
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(object->GetRefCount(), 1);
  kttl::RefCountedPtr_STLSafe<CountedObject> second(object);
  first = second;
  EXPECT_EQ(object->GetRefCount(), 2);
  EXPECT_FALSE(destroyed);
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
  std::map<std::string, kttl::RefCountedPtr_STLSafe<CountedObject>> registry;
  registry["a"] = kttl::RefCountedPtr_STLSafe<CountedObject>(object);
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
