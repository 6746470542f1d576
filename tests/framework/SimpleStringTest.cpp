// The framework string: empty strings have no array, and copying, comparing or
// destroying them must never read through it; allocators refuse impossible requests.
#include <gtest/gtest.h>

#include "framework/SimpleString.h"
#include "framework/StandardAllocator.h"

namespace {

using Text = Orb::SimpleString<char>;
using WideText = Orb::SimpleString<unsigned short>;

// Counts what passes through it, to see that strings give arrays back where they came from.
class CountingAllocator : public Orb::StandardAllocator<char> {
 public:
  char* allocate(std::int32_t count) override {
    ++allocations;
    return StandardAllocator<char>::allocate(count);
  }
  void deallocate(char* pointer) override {
    ++deallocations;
    StandardAllocator<char>::deallocate(pointer);
  }
  int allocations = 0;
  int deallocations = 0;
};

TEST(SimpleString, EmptyStringsCopyCompareAndDestroyWithoutAnArray) {
  const Text fromNull(nullptr);
  const Text defaulted;
  EXPECT_TRUE(fromNull.empty());
  EXPECT_STREQ(fromNull.c_str(), "");

  const Text copy(fromNull);  // must not read through the null array
  EXPECT_TRUE(copy.empty());
  EXPECT_STREQ(copy.c_str(), "");

  Text assigned("replaced");
  assigned = defaulted;
  EXPECT_TRUE(assigned.empty());

  EXPECT_EQ(copy, defaulted);
  EXPECT_EQ(fromNull, Text(""));  // no array and an empty array are the same text
  EXPECT_TRUE(fromNull.equals(""));
  EXPECT_TRUE(fromNull.equals(nullptr));
  EXPECT_NE(fromNull, Text("x"));
}

TEST(SimpleString, ComparesWholeTextsCaseSensitivelyAndCopiesAreIndependent) {
  const Text id("com.omra.streamengine.interface.component");
  EXPECT_TRUE(id.equals("com.omra.streamengine.interface.component"));
  EXPECT_FALSE(id.equals("com.omra.streamengine.interface.component "));
  EXPECT_FALSE(id.equals("COM.OMRA.STREAMENGINE.INTERFACE.COMPONENT"));
  EXPECT_FALSE(id.equals("com.omra.streamengine.interface"));
  EXPECT_NE(Text("abc"), Text("abd"));
  EXPECT_NE(Text("abc"), Text("ab"));

  Text original("Arial:0:Bold");
  const Text copy(original);
  original = Text("Georgia");
  EXPECT_STREQ(copy.c_str(), "Arial:0:Bold");
  EXPECT_EQ(copy.length(), 12u);
  EXPECT_STREQ(original.c_str(), "Georgia");

  const unsigned short utf16[] = {'T', 0x00E9, 'x', 't', 0};
  const WideText wide(utf16);
  const WideText wideCopy(wide);
  EXPECT_EQ(wideCopy.length(), 4u);
  EXPECT_EQ(wideCopy.c_str()[1], 0x00E9);
  EXPECT_EQ(wideCopy.c_str()[4], 0);
}

TEST(SimpleString, ReturnsItsArrayToTheAllocatorThatMadeIt) {
  CountingAllocator allocator;
  {
    const Text text("Overlay|Decoder|TEXT", &allocator);
    EXPECT_EQ(allocator.allocations, 1);
    const Text copy(text);  // copies use the shared allocator, not this one
    EXPECT_EQ(allocator.allocations, 1);
    const Text empty(nullptr, &allocator);
  }
  EXPECT_EQ(allocator.deallocations, 1);
}

TEST(StandardAllocator, NegativeCountIsAFailedRequest) {
  EXPECT_EQ(Orb::StandardAllocator<unsigned short>::instance()->allocate(-1), nullptr);
  EXPECT_EQ(Orb::StandardAllocator<unsigned short>::instance()->allocate(INT32_MIN), nullptr);
  EXPECT_EQ(Orb::StandardAllocator<char>::instance()->allocate(-2), nullptr);

  unsigned short* array = Orb::StandardAllocator<unsigned short>::instance()->allocate(3);
  ASSERT_NE(array, nullptr);
  array[2] = 7;
  Orb::StandardAllocator<unsigned short>::instance()->deallocate(array);
}

}  // namespace
